#pragma once

#include <cstdint>
#include <optional>

#include "model/CellWindows.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// The cells of a map by what they hold, over the rows read.
struct TCellCounts {
    int64_t Cells = 0;  // every cell read
    int64_t Sea = 0;    // the kind's sea cells
    int64_t NoData = 0; // cells without data
    // The lowest and highest value of the other cells: metres as the source wrote them, or class
    // codes; nothing when every cell is sea or without data.
    std::optional<double> Min;
    std::optional<double> Max;
    // The grid counted in place of the map's own cells, for a map read by window too large for
    // a pass over them: an overview, or the map read at that size where it has none small enough.
    std::optional<TLevelSize> Overview;
    bool FromLevel = false; // Overview is one of the map's levels
};

// The most cells of the grid counted in place of a map read by window larger than MaxGridCells.
constexpr int64_t CountedOverviewCells = int64_t{1} << 24;

// The counts of a map read whole, or of one read by window: a pass over its own cells, read band
// by band, when they are at most MaxGridCells, else the finest of its levels within
// CountedOverviewCells. Progress counts the rows read and may cancel (ECancelled is raised).
TCellCounts CountCells(const TLoadedMap& Map, TProgress& Progress);
TCellCounts CountCells(const TLoadedMap& Map);

// A cell's value as an export writes it: the single-precision float nearest to the metres the
// source wrote (elevations), or its class code.
float SourceValue(const TLoadedMap& Map, int32_t Row, int32_t Col);

} // namespace talvo
