#pragma once

#include <cstdint>
#include <optional>

#include "model/LoadedMap.h"

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

// A cell's value as an export writes it: the single-precision float nearest to the metres the
// source wrote (elevations), or its class code.
float SourceValue(const TLoadedMap& Map, int32_t Row, int32_t Col);

} // namespace talvo
