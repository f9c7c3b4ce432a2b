#pragma once

namespace talvo {

// The ground length of one degree of longitude (East) and of latitude (North) at a latitude, in
// metres, on the GRS80 ellipsoid (which JGD2011, WGS 84 and NAD83 share to a tenth of a
// millimetre): the parallel's radius and the meridian's radius of curvature times π / 180.
struct TDegreeSize {
    double East = 0.0;
    double North = 0.0;
};

TDegreeSize DegreeSizeAt(double Latitude);

} // namespace talvo
