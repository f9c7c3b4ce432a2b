#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "import/gdal/GdalModuleApi.h"
#include "model/LoadedMap.h"
#include "platform/Bitmap.h"
#include "platform/Progress.h"

namespace talvo {

// Puts Cols cells of row Row (north first) from column Col, of band Band (from 1), into Cells, as
// the raster's CellType.
using TRowFill =
    std::function<void(int32_t Band, int32_t Row, int32_t Col, int32_t Cols, void* Cells)>;

// Raster, its rows given by Fill as GDAL asks for them, laid where Place says (its geotransform
// and CRS, or its ground control points and theirs), as a Cloud Optimized GeoTIFF at Path, made by
// the GDAL module in the hidden temporary file beside Path and put in place whole, or not at all.
// Progress counts Raster's Height and may cancel: ECancelled is raised, and the target and the
// folder are as they were. Failures are raised naming Path.
void WriteGeoTiff(const TalvoGdalRasterOut& Raster, const TRowFill& Fill,
                  const TGeoreference& Place, const std::string& Path, TProgress& Progress);

// Puts the cells of the block of Cols × Rows cells whose north-west cell is at Col, Row into
// Cells, row after row, as the raster's CellType; false when no cell of it has data.
using TBlockFill =
    std::function<bool(int32_t Col, int32_t Row, int32_t Cols, int32_t Rows, void* Cells)>;

// Raster (one band) as WriteGeoTiff writes it, but as a BigTIFF whose blocks without data are
// left out, in memory that does not grow with it: Fill is asked for each block once, block row
// after block row from the north, and GDAL's block cache is held to CacheBytes meanwhile; Threads
// compress (0: as many as the processor runs).
void WriteSparseGeoTiff(const TalvoGdalRasterOut& Raster, const TBlockFill& Fill,
                        const TGeoreference& Place, const std::string& Path, TProgress& Progress,
                        int64_t CacheBytes, int32_t Threads);

// Picture as an RGB GeoTIFF laid where Place says.
void WritePictureGeoTiff(const TBitmap& Picture, const TGeoreference& Place,
                         const std::string& Path);

} // namespace talvo
