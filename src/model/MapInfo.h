#pragma once

#include <string>
#include <vector>

#include "model/CellCounts.h"
#include "model/LoadedMap.h"

namespace talvo {

struct TMapInfoField {
    std::string Name;  // the field's name, as the information window's value label
    std::string Value; // UTF-8, formatted as the window shows it
};

// The 23 fields of the information window in its order, ending with RecordFlags. Raster corners
// are shown in d.mmss notation; numeric-map corners are in that notation already, and projected
// corners are no angles: both are shown as stored.
std::vector<TMapInfoField> MapInfoFields(const TLoadedMap& Map);

// What the window does not show: MapKind, CellSpacing, BytesPerCell, DataFileName,
// CellWidthLat, CellWidthLon and RowsRead; and Driver, GDAL's name for a raster's format, for
// a map GDAL read; CRS where the file names one; GCPs for a raster placed by ground control
// points alone, which are not applied.
std::vector<TMapInfoField> MapDetailFields(const TLoadedMap& Map);

// What the cells hold, as Counts (CountCells) tells: Cells, Sea, NoData, and the lowest and
// highest of the others, Min and Max (metres as the source wrote them, or class codes; empty when
// there are none); then CountedOn, the grid counted, when it was not the map's own cells.
std::vector<TMapInfoField> CountFields(const TCellCounts& Counts);
// The same on one line, as the information window shows them.
std::string CountsLine(const TCellCounts& Counts);

} // namespace talvo
