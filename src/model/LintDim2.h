#pragma once

#include <cstdint>

#include "model/DimError.h"
#include "model/DimGrid.h"

namespace talvo {

// A grid of signed 32-bit cells.
class TDelDim : public TDimGrid<int32_t> {};

} // namespace talvo
