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

// Every byte of the file at Path, which may not hold more than Limit; failures are raised with
// the file named.
TFileBytes ReadFileBytes(const std::string& Path, uint64_t Limit);

} // namespace talvo
