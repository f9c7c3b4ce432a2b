#pragma once

#include <string>

#include "model/CellReadout.h"
#include "platform/Errors.h"

namespace talvo {

// A point as a person types it: "LON,LAT" (or easting and northing), or a cell "col:row".

// A text that is no point.
class EPointNotUnderstood : public ETalvoError {
  public:
    using ETalvoError::ETalvoError;
};

// The cell under Point. A text that is neither form raises EPointNotUnderstood; a point off the
// map fails naming it and the map.
TGridCell CellOfPointText(const TLoadedMap& Map, const std::string& Point);
// The place of Point: a cell's centre for "col:row", else the point given.
TMapPoint PointOfText(const TLoadedMap& Map, const std::string& Point);

} // namespace talvo
