#pragma once

#include <cstdint>

#include "model/DimGrid.h"

namespace talvo {

// A grid of signed 16-bit cells. A wider value written to it keeps only its low 16 bits.
class TSDelDim : public TDimGrid<int16_t> {
  public:
    void SetVal(int32_t Row, int32_t Col, int32_t Value) {
        TDimGrid::SetVal(Row, Col, static_cast<int16_t>(Value));
    }
};

} // namespace talvo
