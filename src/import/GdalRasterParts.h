#pragma once

// What the whole read of a GDAL raster and its read by window share: opening it through the GDAL
// module, its header as a map's, and its values as heights.

#include <cstdint>
#include <memory>
#include <string>

#include "import/gdal/GdalModuleApi.h"
#include "model/LoadedMap.h"

namespace talvo {

// Rows are read in blocks of about this many cells.
constexpr int64_t BlockCells = int64_t{1} << 20;

struct TRasterCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalRaster* Raster) const { Api->CloseRaster(Raster); }
};

using TRaster = std::unique_ptr<TalvoGdalRaster, TRasterCloser>;

// A raster GDAL reads: a file (Entry ""), or the entry Entry of the zip File.
struct TRasterPlace {
    std::string File;
    std::string Entry;

    // As messages name it.
    std::string Named() const { return Entry.empty() ? File : File + "/" + Entry; }
};

TRaster OpenRaster(const TRasterPlace& Place, TalvoGdalRasterInfo& Info);

// Opens the raster at Place and describes it in Map (header and georeference; no cell read), as
// Info then tells its cells: a raster of more than MaxCells cells is refused. Problems that stop
// the load are raised.
TRaster OpenDescribed(const TRasterPlace& Place, TalvoGdalRasterInfo& Info, TLoadedMap& Map,
                      int64_t MaxCells);

// The header of Info in Map; a raster of more than MaxCells cells is refused.
void DescribeRaster(const TalvoGdalRasterInfo& Info, const std::string& Path, TLoadedMap& Map,
                    int64_t MaxCells);

// One row of values as heights, and as metres when Metres is given; the column of the first value
// beyond the grid's range, or -1.
int32_t ConvertRow(const double* Values, int32_t Width, const TalvoGdalRasterInfo& Info,
                   int32_t* Heights, float* Metres);

// The message of a value beyond the grid's range at Row and Col of the rows read.
std::string HeightBeyondText(double Raw, const TalvoGdalRasterInfo& Info, int64_t Row, int64_t Col);

// Values that tenths of a metre may not hold, which a read keeps as the file gives them.
bool FinerThanTenths(const TalvoGdalRasterInfo& Info);

// Every height of Map, as the file gives it, is the float of its tenths.
bool TenthsHoldEveryHeight(const TLoadedMap& Map);

} // namespace talvo
