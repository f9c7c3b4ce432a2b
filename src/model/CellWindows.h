#pragma once

#include <cstdint>
#include <vector>

#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// A window of a map's cells: first column and row, width and height, in cells of the whole map.
struct TCellWindow {
    int32_t Col = 0;
    int32_t Row = 0;
    int32_t Cols = 0;
    int32_t Rows = 0;
};

// A level of detail of a map read by window: level 0 is the map's own cells, each further one an
// overview of fewer cells.
struct TLevelSize {
    int32_t Cols = 0;
    int32_t Rows = 0;
};

// The cells of a map too large to hold at once, read window by window as they are needed. Reads
// may come from several threads.
class TCellWindows {
  public:
    virtual ~TCellWindows() = default;

    // The map's levels of detail, finest (the map's own cells) first.
    virtual const std::vector<TLevelSize>& Levels() const = 0;
    // Window as a map of Cols × Rows cells, each the cell of the level nearest in detail whose
    // centre lies nearest: the map's header and georeference for that grid, its heights as a
    // whole load would give them. At most MaxGridCells; raises on a failed read or a cancel.
    virtual TLoadedMap Read(const TCellWindow& Window, int32_t Cols, int32_t Rows,
                            TProgress& Progress) const = 0;
};

} // namespace talvo
