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
};

TCellCounts CountCells(const TLoadedMap& Map);
// The cells of a map held whole, or of the overview a map read by window is counted on
// (CountedOverview), read here; raises ECancelled when Progress is cancelled.
TCellCounts CountCells(const TLoadedMap& Map, TProgress& Progress);

// The most cells of the overview a map read by window is counted on.
constexpr int64_t CountedCells = int64_t{1} << 22;
// The grid a map read by window is counted on: its finest level of at most CountedCells cells,
// else its cells sampled down to that many; nothing for a map held whole, counted whole.
std::optional<TLevelSize> CountedOverview(const TLoadedMap& Map);

// A cell's value as an export writes it: the single-precision float nearest to the metres the
// source wrote (elevations), or its class code.
float SourceValue(const TLoadedMap& Map, int32_t Row, int32_t Col);

} // namespace talvo
