#pragma once

#include <cstdint>

#include "model/LoadedMap.h"

namespace talvo {

// The most bytes a reader unpacks from one archive or reads of one document: a zip bomb, or an
// endless file, ends with a message instead of taking the machine's memory.
constexpr uint64_t MaxUnpackedBytes = uint64_t{4} << 30;

} // namespace talvo
