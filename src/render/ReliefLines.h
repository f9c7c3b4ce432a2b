#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/ReliefInput.h"

namespace talvo {

// The heights of a band of lines and of the lines around it that a relief of the band reads: each
// band of a parallel pass holds its own, so that no line of the whole map is held twice over.
class TLineBlock {
  public:
    // Lines First to Last - 1, and Halo lines on either side where the map has them.
    TLineBlock(const TReliefInput& Input, int32_t First, int32_t Last, int32_t Halo);

    // The heights of Line, or null when Line is off the map (or beyond what the block holds).
    const float* Line(int32_t Line) const;

  private:
    int32_t Width;
    int32_t Start;
    int32_t Count;
    std::vector<float> Cells;
};

// The 3 × 3 heights around a cell, numbered as gdaldem numbers them:
//   0 1 2
//   3 4 5
//   6 7 8
using TWindow = std::array<float, 9>;

// The windows of one line as gdaldem forms them. By default a cell on the map's edge, without data
// or beside a cell without data has none. With ComputeEdges (gdaldem's -compute_edges) the lines
// and columns beyond the edge are extrapolated from the two inside (2a - b; the corner cells of
// the first and last lines take their own column's), and a neighbour without data takes the
// cell's own height; only a cell without data then has none.
class TLineWindows {
  public:
    TLineWindows(int32_t Width, int32_t Height, bool ComputeEdges);

    // Makes Line's windows from Block, which holds the lines beside it; false when none of the
    // line's cells has one.
    bool Load(const TLineBlock& Block, int32_t Line);
    // The window of the cell in column Col of the loaded line; false when it has none.
    bool Window(int32_t Col, TWindow& Window) const;
    // Every cell of the loaded line has its window, read from the three padded lines: cell Col's
    // is columns Col to Col + 2 of Padded(0), Padded(1) and Padded(2). Edge columns without
    // ComputeEdges still have none.
    bool Complete() const { return FComplete; }
    const float* Padded(int32_t Row) const { return FPadded[static_cast<size_t>(Row)].data(); }

  private:
    int32_t Width;
    int32_t Height;
    bool ComputeEdges;
    // The three lines with a column more on either side.
    std::array<std::vector<float>, 3> FPadded;
    bool FComplete = false;
};

// Inline: it is asked for every cell.
inline bool TLineWindows::Window(int32_t Col, TWindow& Window) const {
    if (!ComputeEdges && (Col == 0 || Col == Width - 1)) {
        return false;
    }
    for (size_t Row = 0; Row < 3; ++Row) {
        const float* From = FPadded[Row].data() + Col;
        Window[3 * Row] = From[0];
        Window[3 * Row + 1] = From[1];
        Window[3 * Row + 2] = From[2];
    }
    if (std::isnan(Window[4])) {
        return false;
    }
    for (float& Cell : Window) {
        if (std::isnan(Cell)) {
            if (!ComputeEdges) {
                return false;
            }
            Cell = Window[4];
        }
    }
    return true;
}

} // namespace talvo
