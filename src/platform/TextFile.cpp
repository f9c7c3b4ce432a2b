#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>

#include "platform/FileErrors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr size_t BufferBytes = 1 << 16;
constexpr int CtrlZ = 26;
constexpr int NoByte = -1;

} // namespace

TTextFile::TTextFile(const std::string& Path, size_t MaxLineBytes)
    : FName(Path), MaxLineBytes(MaxLineBytes), Buffer(new char[BufferBytes]) {
    errno = 0;
    Stream.reset(std::fopen(Path.c_str(), "rb"));
    if (!Stream) {
        throw Placed(InOutError(errno), Path);
    }
}

TTextFile::TTextFile(std::FILE* Stream, std::string Name, size_t MaxLineBytes)
    : FName(std::move(Name)), MaxLineBytes(MaxLineBytes), Stream(Stream),
      Buffer(new char[BufferBytes]) {}

void TTextFile::Raise(const EInOutError& Error) const {
    throw Placed(Error, FName, LinesRead + 1);
}

void TTextFile::Refill() {
    BufferPos = 0;
    BufferEnd = AtEnd ? 0 : std::fread(Buffer.get(), 1, BufferBytes, Stream.get());
    if (BufferEnd == 0 && !AtEnd) {
        AtEnd = true;
        if (std::ferror(Stream.get())) {
            Raise(InOutError(errno));
        }
    }
}

int TTextFile::PeekByte() {
    if (BufferPos == BufferEnd) {
        Refill();
        if (BufferEnd == 0) {
            return NoByte;
        }
    }
    return static_cast<unsigned char>(Buffer[BufferPos]);
}

bool TTextFile::Eof() {
    int Next = PeekByte();
    return Next == NoByte || Next == CtrlZ;
}

std::string_view TTextFile::ReadLine() {
    Line.clear();
    while (true) {
        if (PeekByte() == NoByte) {
            break;
        }
        // Scan the buffered bytes for the first line end or Ctrl-Z in one pass.
        const char* Begin = Buffer.get() + BufferPos;
        const char* End = Buffer.get() + BufferEnd;
        const char* Stop =
            std::find_if(Begin, End, [](char C) { return C == '\r' || C == '\n' || C == CtrlZ; });
        const auto Length = static_cast<size_t>(Stop - Begin);
        if (Length > MaxLineBytes - Line.size()) {
            Raise(EInOutError(Text(TText::LineTooLong, {std::to_string(MaxLineBytes)})));
        }
        Line.append(Begin, Length);
        BufferPos += Length;
        if (Stop == End) {
            continue;
        }
        int Ender = static_cast<unsigned char>(*Stop);
        if (Ender == CtrlZ) {
            break; // left in place: Eof() stays true from here on
        }
        ++BufferPos;
        if (Ender == '\r' && PeekByte() == '\n') {
            ++BufferPos;
        }
        break;
    }
    ++LinesRead;
    return Line;
}

} // namespace talvo
