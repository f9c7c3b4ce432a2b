#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/MapHost.h"
#include "model/MapState.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens the map file at Path: empties Map, then reads the file by its kind (Global Map and
// 30-second rasters by their extension and name, everything else as a numeric map mesh).
// Every failure is raised; Map then holds what was read before it. Ignored while a picture is
// being drawn.
void LoadMapFile(const std::string& Path, MapState& Map, TMapHost& Host);

// Reads a numeric map mesh from File into Map, then draws it and enables 3D through Host.
void ReadNumMap(TTextFile& File, int32_t CellSpacing, MapState& Map, TMapHost& Host);

// The header line: fills the header fields and dimensions the grids for Pts_NS rows.
void ReadNumHeader(std::string_view Line, MapState& Map, TMapHost& Host);

// One data line into row RowsRead of the grids.
void ReadNumRecord(std::string_view Line, MapState& Map);

// Mesh spacing in tenths of a metre for an upper-case extension: ".MEM" 500, ".SEM" 2500,
// ".TEM" 10000, anything else 0.
int32_t NumMapCellSpacing(std::string_view UpperExt);

} // namespace talvo
