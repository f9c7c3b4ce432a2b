#pragma once

#include <functional>
#include <span>
#include <string>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// The format drivers, asked in this order: Global Map headers, 30-second rasters, FG-GML DEM tiles
// and zips of them, the rasters GDAL reads. A file none of them claims is a numeric map mesh.
std::span<const TFormatDriver> FormatDrivers();

// The driver of the file at Path, told by its name and first bytes; the numeric-map driver when no
// other claims it.
const TFormatDriver& DriverOf(const std::string& Path);

// Opens the map file at Path with its driver. The new map starts as Previous would be emptied for
// a load (its cell widths carried over), gets the CRS its kind is published in when the file names
// none, and the transform of its corners when the reader set none. Failures are raised naming the
// file they arose in (a folder is refused) and leave Previous as it was; a cancel through Progress
// raises ECancelled.
TOpenedMap OpenMap(const std::string& Path, const TLoadedMap& Previous, TProgress& Progress);
// The same, after an empty map and with nobody watching the progress.
TOpenedMap OpenMap(const std::string& Path, const TLoadedMap& Previous);
TOpenedMap OpenMap(const std::string& Path);

// A load of the map whose file is MapFile by Read, which is given the map as a load starts it
// after Previous (or an empty map); the map gets the CRS its kind is published in when the file
// named none, and the transform of its corners when the reader set none.
TOpenedMap LoadMap(const std::string& MapFile, const TLoadedMap& Previous,
                   const std::function<TOpenedMap(TLoadedMap Start)>& Read);
TOpenedMap LoadMap(const std::string& MapFile,
                   const std::function<TOpenedMap(TLoadedMap Start)>& Read);

// The first bytes of a regular file, as drivers are shown them (FileStartBytes at most); none of
// a device, a FIFO or a file that cannot be read, which are left to the reader to take or refuse.
std::string FirstBytes(const std::string& Path);

} // namespace talvo
