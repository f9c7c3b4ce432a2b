#pragma once

#include <optional>

#include "model/CellReadout.h"

namespace talvo {

// Longitude and latitude on WGS 84 of a projected map's coordinates, and back. Made once for a
// map and asked for every point the pointer reads out: a conversion answers quickly and from
// any thread.
class TLonLatConversion {
  public:
    virtual ~TLonLatConversion() = default;
    // Point of the map's CRS as longitude and latitude; nothing where it has none.
    virtual std::optional<TMapPoint> ToLonLat(TMapPoint Point) const = 0;
    // Longitude and latitude as a point of the map's CRS; nothing where it has none.
    virtual std::optional<TMapPoint> FromLonLat(TMapPoint LonLat) const = 0;
};

} // namespace talvo
