// libFuzzer target: the line reader against a plain reading of the same bytes. The first byte
// chooses the line bound (1 to 256 bytes); the rest is the file. Every line must come back as
// written, and the first line over the bound must end the read, named by its number.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextFile.h"

namespace {

// The lines of Bytes by the reader's rules, the simplest way: Ctrl-Z ends the file; CR LF, CR
// and LF end a line.
std::vector<std::string> PlainLines(std::string_view Bytes) {
    Bytes = Bytes.substr(0, Bytes.find('\x1a'));
    std::vector<std::string> Lines;
    size_t Pos = 0;
    while (Pos < Bytes.size()) {
        const size_t End = std::min(Bytes.find_first_of("\r\n", Pos), Bytes.size());
        Lines.emplace_back(Bytes.substr(Pos, End - Pos));
        Pos = End + (Bytes.substr(End, 2) == "\r\n" ? 2 : 1);
    }
    return Lines;
}

void Check(bool Holds) {
    if (!Holds) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) {
        return 0;
    }
    const size_t Bound = 1 + size_t{Data[0]};
    std::string Bytes(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    const std::vector<std::string> Expected = PlainLines(Bytes);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    talvo::TTextFile File(Stream, "fuzz input", Bound);
    size_t Read = 0;
    try {
        while (!File.Eof()) {
            Check(Read < Expected.size());
            const std::string_view Line = File.ReadLine();
            Check(Line == Expected[Read] && Line.size() <= Bound);
            ++Read;
        }
    } catch (const talvo::EInOutError& Error) {
        Check(Read < Expected.size() && Expected[Read].size() > Bound);
        Check(std::string_view(Error.what()).ends_with(":" + std::to_string(Read + 1)));
        return 0;
    }
    Check(Read == Expected.size());
    return 0;
}
