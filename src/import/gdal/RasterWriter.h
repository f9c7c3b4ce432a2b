#pragma once

#include <functional>
#include <gdal_priv.h>

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

bool WriteGeoTiff(const TalvoGdalRasterOut* Raster, const char* Path, TalvoGdalProgress Progress,
                  void* ProgressData, TalvoGdalFailure* Failure);

// Gives Dataset Raster's no data, colours and place (its geotransform and CRS, or its ground
// control points and theirs); false, saying why, for a CRS GDAL does not know.
bool PlaceDataset(const TalvoGdalRasterOut& Raster, GDALDataset& Dataset,
                  TalvoGdalFailure* Failure);

// Runs Write, which returns whether GDAL made what it was asked for; false, saying why, when it
// did not or GDAL failed meanwhile: a write the disk refused is told by its errno.
bool Written(const std::function<bool()>& Write, TalvoGdalFailure* Failure);

// Source as a Cloud Optimized GeoTIFF at Path with Raster's compression and overviews; with
// SparseThreads (GDAL's NUM_THREADS), a BigTIFF whose blocks without data are left out, compressed
// by that many threads.
bool CopyAsCog(GDALDataset& Source, const TalvoGdalRasterOut& Raster, const char* Path,
               const char* SparseThreads, TalvoGdalProgress Progress, void* ProgressData,
               TalvoGdalFailure* Failure);

} // namespace talvo_gdal
