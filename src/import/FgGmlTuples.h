#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/FgGmlReader.h"
#include "platform/Progress.h"

namespace talvo {

// The cells of one tile, Rows × Cols, the north row first.
struct TFgGmlCells {
    // Heights in tenths of a metre; MarkedSeaHeight for sea and inland water, NoDataHeight for
    // "データなし", for -9999. and for the cells before gml:startPoint and after the list's end.
    std::vector<int32_t> Tenths;
    // The metres as written, as floats, when some height has digits beyond its tenths; empty
    // when the tenths hold every height.
    std::vector<float> Metres;
};

// The tuple list of Tile (the bytes [ListBegin, ListEnd) of Bytes). A point that is not
// "type,decimal", a height beyond the grid's cells and a list longer than the grid are raised,
// naming File and the line. Stops, raising ECancelled, soon after Progress is cancelled.
TFgGmlCells ReadFgGmlTuples(const TFgGmlTile& Tile, std::string_view Bytes, const std::string& File,
                            const TProgress& Progress);

// Cells into Map's grids at row Row and column Col of the map, SourceHeights made when Cells
// is the first to need it.
void PlaceFgGmlCells(const TFgGmlTile& Tile, const TFgGmlCells& Cells, int32_t Row, int32_t Col,
                     TLoadedMap& Map);

} // namespace talvo
