#include "import/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <sys/stat.h>

#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

[[noreturn]] void RaiseFileError(int Errno, const std::string& Path) {
    throw Placed(InOutError(Errno), Path);
}

[[noreturn]] void RaiseTooLarge(uint64_t Limit, const std::string& Path) {
    throw Placed(ETalvoError(Text(TText::FileTooLarge, {std::to_string(Limit >> 20)})), Path);
}

} // namespace

void ReserveFileBytes(TFileBytes& Bytes, uint64_t Room) {
    char* Larger = static_cast<char*>(std::realloc(Bytes.Data.get(), std::max<uint64_t>(Room, 1)));
    if (!Larger) {
        throw std::bad_alloc();
    }
    static_cast<void>(Bytes.Data.release());
    Bytes.Data.reset(Larger);
}

void RequireReadableFile(const std::string& Path) {
    errno = 0;
    if (!TFileHandle(std::fopen(Path.c_str(), "rb"))) {
        RaiseFileError(errno, Path);
    }
}

TFileBytes ReadFileBytes(const std::string& Path, uint64_t Limit, TStartCheck CheckStart) {
    errno = 0;
    TFileHandle File(std::fopen(Path.c_str(), "rb"));
    if (!File) {
        RaiseFileError(errno, Path);
    }
    // A regular file's size is known before reading; it is still a hint, as the file may grow
    // while read. A pipe or a device has none.
    struct stat Status {};
    const bool Regular = fstat(fileno(File.get()), &Status) == 0 && S_ISREG(Status.st_mode);
    const auto Hint = Regular ? static_cast<uint64_t>(Status.st_size) : 0;
    if (Hint > Limit) {
        RaiseTooLarge(Limit, Path);
    }
    size_t Room = std::min<uint64_t>(Regular ? Hint + 1 : FilePieceBytes, Limit + 1);
    TFileBytes Bytes;
    ReserveFileBytes(Bytes, Room);
    bool Checked = !CheckStart;
    while (true) {
        const size_t Piece = std::min(Room - Bytes.Size, FilePieceBytes);
        const size_t Got = std::fread(Bytes.Data.get() + Bytes.Size, 1, Piece, File.get());
        Bytes.Size += Got;
        if (!Checked && (Bytes.Size >= FilePieceBytes || Got < Piece)) {
            CheckStart(Bytes.View(), Path);
            Checked = true;
        }
        if (Bytes.Size > Limit) {
            RaiseTooLarge(Limit, Path);
        }
        if (Got < Piece) {
            break;
        }
        if (Bytes.Size == Room) {
            Room = std::min<uint64_t>(Room + std::max(Room, FilePieceBytes), Limit + 1);
            ReserveFileBytes(Bytes, Room);
        }
    }
    if (std::ferror(File.get())) {
        RaiseFileError(errno, Path);
    }
    return Bytes;
}

} // namespace talvo
