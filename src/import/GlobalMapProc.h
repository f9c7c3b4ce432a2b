#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "model/MapHost.h"
#include "model/MapState.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a raster: a Global Map header (EL*, LU*, VG*.hdr) with its data file beside it, or a
// 30-arc-second ".bil" data file with its ".hdr". A missing companion is told to the user
// through Host and ends the load normally; every other failure is raised.
void LoadRaster(const std::string& Path, MapState& Map, TMapHost& Host);

// A Global Map header: "description :value" lines. Sets MeshCode from the file name.
void ReadGmpHeader(const std::string& Path, MapState& Map);
void ReadGmpLines(TTextFile& File, MapState& Map);

// A 30-second raster header: "KEY value" lines; the south and east corners are derived.
void ReadBilHeader(const std::string& Path, MapState& Map);
void ReadBilLines(TTextFile& File, MapState& Map);
void ParseBilKey(std::string_view Line, MapState& Map);

// The data file's rows into the grids, one block read per row. A short file raises
// "ﾌｧｲﾙの末尾以降を読み込みました" with the rows read so far kept and counted in RowsRead.
void ReadRasterRows(std::FILE* Data, MapState& Map, TMapHost& Host);

// One row of Pts_WE cells of BytesPerCell bytes into grid row RowsRead.
void StoreRasterRow(const unsigned char* Row, MapState& Map);

} // namespace talvo
