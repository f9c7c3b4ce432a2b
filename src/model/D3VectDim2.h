#pragma once

#include "model/DimGrid.h"

namespace talvo {

// A 3-D vector in the layout of the 3D renderer: x, y, z in that order.
struct TD3DVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// A grid of 3-D vectors; an unwritten cell is the zero vector.
class TD3VectDim : public TDimGrid<TD3DVector> {};

} // namespace talvo
