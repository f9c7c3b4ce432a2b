#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"

namespace talvo {

// Reads the data file of a raster whose header, read from HeaderPath, is in Map (DataFileName,
// Columns, Rows, BytesPerCell, BigEndian, NoDataValue): HeaderOnly, reading nothing, when its
// cells are under one byte or its rows hold no cell; otherwise every row into the grids, and
// Loaded. Failures are raised naming the header (sizes it declares that cannot be read) or the data
// file.
TOpenOutcome ReadRasterFile(const std::string& HeaderPath, TLoadedMap& Map, TProgress& Progress);

// The rows of Data into freshly dimensioned grids, in blocks of rows decoded in parallel. A short
// file raises "ﾌｧｲﾙの末尾以降を読み込みました" with the rows that arrived whole kept and counted in
// RowsRead; but a grid of over 64 MiB whose file holds less than half its declared bytes raises
// it before anything is dimensioned.
// Progress counts the rows; a cancel is seen between blocks.
void ReadRasterRows(std::FILE* Data, TLoadedMap& Map, TProgress& Progress);

// One row of Columns cells of BytesPerCell bytes into grid row Row, and its picture line Row + 1.
void StoreRasterRow(const unsigned char* Cells, int32_t Row, TLoadedMap& Map);

} // namespace talvo
