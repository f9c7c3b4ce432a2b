#pragma once

#include <memory>
#include <string>
#include <vector>

#include "import/FormatDriver.h"
#include "import/ZipTiles.h"
#include "model/LoadedMap.h"

namespace talvo {

// Opens a zip of FG-GML DEM tiles (*.zip), or of zips of them, as one map, into Map as a load
// starts it; a zip without a tile but with one raster GDAL reads opens as that raster. Raises for
// every tile or archive that cannot be read. A zip: named *.zip, or starting as one.
bool IdentifyFgGmlZip(const TFileStart& File);
TOpenedMap OpenFgGmlZip(const std::string& Path, TLoadedMap Map, TProgress& Progress);

// FG-GML DEM tiles and zips of them, laid into one map as the tiles of one zip are; the map's file
// and the messages about the whole are the first path's. A file of any other format is refused.
TOpenedMap OpenFgGmlMosaic(const std::vector<std::string>& Paths, TLoadedMap Map,
                           TProgress& Progress);

// The listing of each of Paths, as a mosaic reads them: a zip's tiles, or none (a null entry) for
// a tile file. A path that is neither, or a zip without a tile, is raised.
std::vector<std::unique_ptr<TZipTiles>> ListMosaicInputs(const std::vector<std::string>& Paths);

} // namespace talvo
