#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace talvo {

// A whole document in memory, its bytes left as they came.
struct TFileBytes {
    std::unique_ptr<char[]> Data;
    size_t Size = 0;

    std::string_view View() const { return {Data.get(), Size}; }
};

// Room for Size bytes, not yet written.
TFileBytes FileBytesOfSize(uint64_t Size);

// Raises, naming the file, as a read would when the file at Path cannot be opened for reading:
// for files that another library reads, so that their messages are the program's own.
void RequireReadableFile(const std::string& Path);

// Every byte of the file at Path, which may not hold more than Limit; failures are raised with
// the file named.
TFileBytes ReadFileBytes(const std::string& Path, uint64_t Limit);

} // namespace talvo
