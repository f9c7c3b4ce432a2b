#pragma once

#include <memory>
#include <string>

#include "model/LonLat.h"

namespace talvo {

// The conversion between the projected CRS Crs ("EPSG:N" or WKT) and longitude and latitude on
// WGS 84, through the GDAL module. The module is opened, and PROJ asked for the way, on the first
// point converted, not before: a map that is never read out in degrees never loads GDAL. A CRS
// PROJ cannot convert (or no GDAL module) converts no point.
std::shared_ptr<const TLonLatConversion> LonLatOfCrs(const std::string& Crs);

// Gives Map the conversion of its CRS when it is projected, and takes it away otherwise.
void AttachLonLat(TLoadedMap& Map);

} // namespace talvo
