#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/LoadedMap.h"
#include "model/MapInfo.h"
#include "platform/Progress.h"

namespace talvo {

// A cell of the map as the picture shows it: its column, the picture line it lies on, and the
// grid row drawn on that line (-1 when no row read names the line).
struct TGridCell {
    int32_t Col = 0;
    int32_t Line = 0;
    int32_t Row = -1;
};

// A place in the map's CRS: longitude and latitude in degrees, or easting and northing.
struct TMapPoint {
    double X = 0.0;
    double Y = 0.0;
};

// The cell at fractional picture coordinates (column, line from the north-west corner);
// nothing off the map.
std::optional<TGridCell> CellAtGrid(const TLoadedMap& Map, double Col, double Line);
// The cell under Point, through the map's georeference; nothing off the map.
std::optional<TGridCell> CellAt(const TLoadedMap& Map, TMapPoint Point);
// Grid row Row's cell in column Col (on the line it is drawn on); nothing off the grid.
std::optional<TGridCell> CellOfRow(const TLoadedMap& Map, int32_t Col, int32_t Row);

// Fractional picture coordinates to the map's CRS, and back.
TMapPoint PointAtGrid(const TLoadedMap& Map, double Col, double Line);
TMapPoint GridAtPoint(const TLoadedMap& Map, TMapPoint Point);
// The centre of Cell in the map's CRS.
TMapPoint CellCentre(const TLoadedMap& Map, const TGridCell& Cell);

enum class TCellState { Value, Sea, NoData, NotRead };

// What a cell holds, as a person reads it.
struct TCellValue {
    TCellState State = TCellState::NotRead;
    // Heights only: the height in metres.
    std::optional<double> Metres;
    // The height with the source's decimals, the class name, or "sea", "no data", "not read" in
    // the language of the messages.
    std::string Text;
};

// A map read by window (Map.Windows) has its cell read from the file: a failed read is raised.
TCellValue ValueAt(const TLoadedMap& Map, const TGridCell& Cell);

// The most cells ValuesAt reads of a map read by window at once.
constexpr int64_t ReadoutWindowCells = int64_t{1} << 20;

// What each of Cells holds, as ValueAt tells; of a map read by window, neighbouring cells (the
// samples of a profile) are read together, a window of at most ReadoutWindowCells at a time,
// Progress seeing each read (a cancel raises ECancelled).
std::vector<TCellValue> ValuesAt(const TLoadedMap& Map, const std::vector<TGridCell>& Cells);
std::vector<TCellValue> ValuesAt(const TLoadedMap& Map, const std::vector<TGridCell>& Cells,
                                 TProgress& Progress);

// Metres with the decimals the map's source gives its heights: every digit of a height kept as the
// source wrote it, else the kind's decimals.
std::string HeightText(const TLoadedMap& Map, double Metres);

// The readout of Cell as "Name: value" fields in the language of the messages: where it is (its
// longitude and latitude in decimal degrees and d°m′s″, on WGS 84 for a projected map, whose
// easting, northing and CRS follow), then
// what it is (column, row, the height or class, and the mesh code where the map has one).
std::vector<TMapInfoField> PlaceFields(const TLoadedMap& Map, const TGridCell& Cell);
std::vector<TMapInfoField> CellFields(const TLoadedMap& Map, const TGridCell& Cell);
// Both, in that order.
std::vector<TMapInfoField> ReadoutFields(const TLoadedMap& Map, const TGridCell& Cell);

// The readout of Cell as one line of values, as --at prints them, separated by tabs: longitude
// and latitude in decimal degrees (easting and northing where a projected map's CRS gives no
// degrees), column, row, height or class.
std::string ReadoutCopy(const TLoadedMap& Map, const TGridCell& Cell);

// Fields on one line, as the status bar shows them.
std::string ReadoutLine(const std::vector<TMapInfoField>& Fields);

} // namespace talvo
