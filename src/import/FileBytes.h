#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace talvo {

struct TFreeBytes {
    void operator()(char* Bytes) const { std::free(Bytes); }
};

// A whole document in memory, its bytes left as they came.
struct TFileBytes {
    std::unique_ptr<char, TFreeBytes> Data; // malloc'ed: a growing read moves no bytes
    size_t Size = 0;

    std::string_view View() const { return {Data.get(), Size}; }
};

// Makes room in Bytes for Room bytes, those it holds kept; glibc moves large blocks by remapping
// their pages, so bytes that grow to gigabytes never have two copies at once. Raises
// std::bad_alloc when there is no memory for them.
void ReserveFileBytes(TFileBytes& Bytes, uint64_t Room);

// Raises, naming the file, when the bytes that begin a document (a piece of it, or all when it
// is shorter) cannot begin a document of the kind the reader asks for.
using TStartCheck = void (*)(std::string_view FirstBytes, const std::string& Path);

// The bytes a file is read in, and so what a check of its start sees.
constexpr size_t FilePieceBytes = size_t{16} << 20;

// Raises, naming the file, as a read would when the file at Path cannot be opened for reading:
// for files that another library reads, so that their messages are the program's own.
void RequireReadableFile(const std::string& Path);

// Every byte of the file at Path, which may not hold more than Limit (a file whose size says so
// is refused before anything is read); CheckStart, when given, sees the first piece before the
// rest is read, so that a stream of anything else (/dev/zero) ends early. Failures are raised
// with the file named.
TFileBytes ReadFileBytes(const std::string& Path, uint64_t Limit, TStartCheck CheckStart = nullptr);

} // namespace talvo
