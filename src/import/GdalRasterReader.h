#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"

namespace talvo {

// Opens band 1 of a raster that GDAL reads (*.tif, *.tiff, *.hgt, *.asc, *.dem, *.img, *.vrt) into
// Map as a load starts it. Raises when GDAL is missing or the raster cannot be a map.
// A raster GDAL reads: by one of those extensions, or by the signature its file starts with.
bool IdentifyGdalRaster(const TFileStart& File);
TOpenedMap OpenGdalRaster(const std::string& Path, TLoadedMap Map, TProgress& Progress);

// The width and height of the raster at Path, from its header: no cell is read. Raises as
// OpenGdalRaster does.
struct TRasterSize {
    int32_t Width;
    int32_t Height;
};
TRasterSize GdalRasterSize(const std::string& Path);

// Every file GDAL reads for the raster at Path: the file, its sources and its sidecars. Raises as
// OpenGdalRaster does.
std::vector<std::string> GdalRasterFiles(const std::string& Path);

// The same, of the raster Entry of the local zip at ZipPath, read through GDAL's /vsizip/; the
// caller has listed the zip and found the entry to be its one raster, within the limits. Messages
// name "ZIP/ENTRY"; the map's file is the zip, which stands for every file GDAL reads inside it.
TOpenedMap OpenGdalRasterInZip(const std::string& ZipPath, const std::string& Entry, TLoadedMap Map,
                               TProgress& Progress);
std::vector<std::string> GdalRasterFilesInZip(const std::string& ZipPath, const std::string& Entry);

} // namespace talvo
