#pragma once

#include <cstdint>
#include <string>

#include "import/GdalRasterParts.h"
#include "model/OpenedMap.h"

namespace talvo {

// The most cells of a raster that opening it reads whole; a larger one is read by window, as its
// cells are shown or asked for.
constexpr int64_t WholeRasterCells = int64_t{1} << 26;

// Map, which holds the header of Raster (opened at Place, as Info tells), made to read its cells
// by window.
TOpenedMap WindowedRaster(TRaster Raster, const TalvoGdalRasterInfo& Info,
                          const TRasterPlace& Place, TLoadedMap Map);

// The raster at Path opened by window whatever its size: its header at once, its cells as they
// are asked for. Raises as OpenGdalRaster does.
TLoadedMap OpenGdalRasterByWindow(const std::string& Path);

} // namespace talvo
