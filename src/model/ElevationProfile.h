#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/CellReadout.h"

namespace talvo {

// One sample of a profile: how far along the line, the point on the line, the cell there and
// what it holds.
struct TProfileSample {
    double Distance = 0.0; // metres from the start
    TMapPoint Point;
    TGridCell Cell;
    TCellValue Value;
};

// The cells a straight line from From to To crosses, one sample per cell along its longer
// axis (the cell under each sample point: nearest, never interpolated), both ends included (two
// samples of a line within one cell). Distances are along the line, from sample to sample:
// geodesic on the WGS 84 ellipsoid for maps in degrees and planar for projected ones. An end off
// the map is refused with a message naming the point.
std::vector<TProfileSample> SampleProfile(const TLoadedMap& Map, TMapPoint From, TMapPoint To);
// The profile along the line through Points (two or more), leg after leg: each sampled as
// SampleProfile samples it, the point where two legs meet sampled once, and distances running on
// along the line.
std::vector<TProfileSample> SampleProfileAlong(const TLoadedMap& Map,
                                               const std::vector<TMapPoint>& Points);
// The profile through the centres of Cells, as `--profile` takes cells given as col:row; a map
// read by window is read as ValuesAt reads it, Progress seeing the reads.
std::vector<TProfileSample> SampleProfileThroughCells(const TLoadedMap& Map,
                                                      const std::vector<TGridCell>& Cells);
std::vector<TProfileSample> SampleProfileThroughCells(const TLoadedMap& Map,
                                                      const std::vector<TGridCell>& Cells,
                                                      TProgress& Progress);
std::vector<TProfileSample> SampleProfileBetweenCells(const TLoadedMap& Map, const TGridCell& From,
                                                      const TGridCell& To);

// Metres between two points of Map's CRS, as SampleProfile measures them.
double DistanceBetween(const TLoadedMap& Map, TMapPoint From, TMapPoint To);

// The figures shown beside a profile; cells without a height are left out.
struct TProfileSummary {
    std::optional<double> Min;
    std::optional<double> Max;
    double Ascent = 0.0;  // the climbs between neighbouring heights, summed (none across a gap)
    double Descent = 0.0; // the drops, summed
    double Length = 0.0;  // metres
};
TProfileSummary SummariseProfile(const std::vector<TProfileSample>& Samples);

// The profile as CSV: "distance_m,lon,lat,col,row,height_m,note" and a line per sample; a cell
// without a height leaves height_m empty and says why in note ("sea", "no data", "not read"),
// which is empty beside a height. Coordinates are the map's (easting and northing when it is
// projected).
std::string ProfileCsv(const TLoadedMap& Map, const std::vector<TProfileSample>& Samples);

// Writes the CSV to Path whole or not at all.
void WriteProfileCsv(const TLoadedMap& Map, const std::vector<TProfileSample>& Samples,
                     const std::string& Path);

} // namespace talvo
