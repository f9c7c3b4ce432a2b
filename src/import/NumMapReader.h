#pragma once

#include <cstdint>
#include <string_view>

#include "model/LoadedMap.h"
#include "platform/Progress.h"
#include "platform/TextFile.h"

namespace talvo {

// Reads a numeric map mesh from File into Map: the header line, then one record per line up to
// the end of the file. Every failure is raised naming the file and the line; Map then holds what
// was read before it.
// Progress counts the records against Rows.
void ReadNumMap(TTextFile& File, int32_t CellSpacing, TLoadedMap& Map, TProgress& Progress);

// The header line: fills the header fields and dimensions the grids for Rows rows.
void ReadNumHeader(std::string_view Line, TLoadedMap& Map);

// One data line into row RowsRead of the grids.
void ReadNumRecord(std::string_view Line, TLoadedMap& Map);

// Mesh spacing in tenths of a metre for an upper-case extension: ".MEM" 500, ".SEM" 2500,
// ".TEM" 10000, anything else 0.
int32_t NumMapCellSpacing(std::string_view UpperExt);

} // namespace talvo
