#pragma once

#include <cstdint>

namespace talvo {

// The most cells a map holds: its grid of 32-bit cells stays within 2 GiB.
constexpr int64_t MaxGridCells = 536870911;

// The most bytes a reader unpacks from one archive or reads of one document: a zip bomb, or an
// endless file, ends with a message instead of taking the machine's memory.
constexpr uint64_t MaxUnpackedBytes = uint64_t{4} << 30;

} // namespace talvo
