#include "import/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "import/ReadError.h"
#include "platform/FileErrors.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

[[noreturn]] void RaiseFileError(int Errno, const std::string& Path) {
    throw Placed(InOutError(Errno), Path);
}

} // namespace

void RequireReadableFile(const std::string& Path) {
    errno = 0;
    if (!TFileHandle(std::fopen(Path.c_str(), "rb"))) {
        RaiseFileError(errno, Path);
    }
}

TFileBytes FileBytesOfSize(uint64_t Size) {
    TFileBytes Bytes;
    Bytes.Data = std::make_unique_for_overwrite<char[]>(std::max<size_t>(Size, 1));
    Bytes.Size = Size;
    return Bytes;
}

TFileBytes ReadFileBytes(const std::string& Path, uint64_t Limit) {
    errno = 0;
    TFileHandle File(std::fopen(Path.c_str(), "rb"));
    if (!File) {
        RaiseFileError(errno, Path);
    }
    // The size the file has now is a hint: a pipe has none, and a file may grow while read.
    struct stat Status {};
    const uint64_t Hint = fstat(fileno(File.get()), &Status) == 0 && S_ISREG(Status.st_mode)
                              ? static_cast<uint64_t>(Status.st_size)
                              : 0;
    size_t Room = std::clamp<uint64_t>(Hint + 1, 1 << 16, Limit + 1);
    TFileBytes Bytes = FileBytesOfSize(Room);
    Bytes.Size = 0;
    while (true) {
        Bytes.Size += std::fread(Bytes.Data.get() + Bytes.Size, 1, Room - Bytes.Size, File.get());
        if (Bytes.Size > Limit) {
            throw ReadError(Text(TText::FileTooLarge, {std::to_string(Limit >> 20)}), Path);
        }
        if (Bytes.Size < Room) {
            break;
        }
        Room = std::min<uint64_t>(Room * 2, Limit + 1);
        TFileBytes Larger = FileBytesOfSize(Room);
        std::memcpy(Larger.Data.get(), Bytes.Data.get(), Bytes.Size);
        Larger.Size = Bytes.Size;
        Bytes = std::move(Larger);
    }
    if (std::ferror(File.get())) {
        RaiseFileError(errno, Path);
    }
    return Bytes;
}

} // namespace talvo
