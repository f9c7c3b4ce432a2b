#pragma once

#include <string>

#include "model/CellReadout.h"
#include "platform/Errors.h"

namespace talvo {

// A point as a person types it: "LON,LAT" (longitude and latitude; on WGS 84 for a projected map,
// a map in degrees taking them in its own datum), "xy:E,N" (the map's own coordinates: easting
// and northing, or longitude and latitude), or a cell "col:row".

// A text that is no point.
class EPointNotUnderstood : public ETalvoError {
  public:
    using ETalvoError::ETalvoError;
};

// The prefix of a point in the map's own coordinates.
inline constexpr std::string_view OwnCoordinates = "xy:";

// The cell under Point. A text that is none of the forms raises EPointNotUnderstood; a point off
// the map, or a longitude and latitude that the map's CRS cannot take, fails naming it and the map.
TGridCell CellOfPointText(const TLoadedMap& Map, const std::string& Point);
// The place of Point in the map's CRS: a cell's centre for "col:row", else the point given.
TMapPoint PointOfText(const TLoadedMap& Map, const std::string& Point);

} // namespace talvo
