#pragma once

#include <array>
#include <string>
#include <vector>

namespace talvo {

// Where a picture lies, for other GIS programs: beside PICTURE.png a world file PICTURE.pgw
// (.jgw for JPEG, .bpw for BMP) of six numbers (the pixel's width, two rotations, its height
// downwards, the centre of the top-left pixel), and PICTURE.png.aux.xml naming the CRS, as GDAL
// and QGIS read them.

// The files written beside the picture at Path: the world file, then the CRS file.
std::vector<std::string> WorldFilePaths(const std::string& Path);

// Writes both for a picture whose pixel (x, y) has its top-left corner at (T0 + x T1 + y T2,
// T3 + x T4 + y T5) in Crs ("EPSG:N" or WKT; no CRS file when it is empty).
void WriteWorldFiles(const std::string& Path, const std::array<double, 6>& Transform,
                     const std::string& Crs);

} // namespace talvo
