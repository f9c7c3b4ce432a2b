#pragma once

#include <string>
#include <string_view>

#include "import/FgGmlReader.h"
#include "platform/Progress.h"

namespace talvo {

// The tuple list of Tile (the bytes [ListBegin, ListEnd) of Bytes) into Cells, Tile.Rows ×
// Tile.Cols heights in tenths of a metre, the north row first; the cells before gml:startPoint
// and after the end of the list get no data. A point that is not "type,decimal", a height beyond
// the grid's cells and a list longer than the grid are raised, naming File and the line.
// Stops, raising ECancelled, soon after Progress is cancelled.
void ReadFgGmlTuples(const TFgGmlTile& Tile, std::string_view Bytes, const std::string& File,
                     int32_t* Cells, const TProgress& Progress);

} // namespace talvo
