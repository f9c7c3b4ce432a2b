#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace talvo {

// The ground size of a cell in metres: west to east and south to north.
struct TCellSize {
    double East = 1.0;
    double North = 1.0;
};

// The heights a relief is computed from, line by line (north first), whatever the map's format.
struct TReliefInput {
    int32_t Width = 0;
    int32_t Height = 0;
    // Puts the Width heights of line Line into Heights: metres, NaN where there is none. Called
    // from several threads at once.
    std::function<void(int32_t Line, float* Heights)> FillLine;
    // One per line: a geographic map's cells narrow towards the pole.
    std::vector<TCellSize> CellSizes;
};

} // namespace talvo
