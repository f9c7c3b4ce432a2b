#include "model/PointText.h"

#include <string_view>

#include "model/LonLat.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// What a point's text names: a cell by its column and row, or a place in the map's CRS.
struct TPointTarget {
    std::optional<TMapPoint> Place;
    int32_t Col = 0;
    int32_t Row = 0;
};

// The two parts of "A?B", ? one of Separators, where neither part holds a separator.
std::optional<std::pair<std::string_view, std::string_view>>
SplitPair(std::string_view Text, std::string_view Separators) {
    const size_t Split = Text.find_first_of(Separators);
    if (Split == std::string_view::npos ||
        Text.find_first_of(":,", Split + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair(Text.substr(0, Split), Text.substr(Split + 1));
}

TPointTarget TargetOf(const TLoadedMap& Map, const std::string& Point) {
    const bool Own = std::string_view(Point).starts_with(OwnCoordinates);
    const std::string_view Given =
        Own ? std::string_view(Point).substr(OwnCoordinates.size()) : std::string_view(Point);
    const auto Parts = SplitPair(Given, Own ? "," : ":,");
    if (!Parts) {
        throw EPointNotUnderstood(Text(TText::PointNotUnderstood, {Point}));
    }
    try {
        if (!Own && Point[Parts->first.size()] == ':') {
            return {std::nullopt, StrToInt(Parts->first), StrToInt(Parts->second)};
        }
        const TMapPoint Place{StrToFloat(Parts->first), StrToFloat(Parts->second)};
        if (Own || !Map.NumHeader.Projected) {
            return {Place};
        }
        const std::optional<TMapPoint> Converted =
            Map.Georeference.LonLat ? Map.Georeference.LonLat->FromLonLat(Place) : std::nullopt;
        if (!Converted) {
            throw Placed(ETalvoError(Text(TText::PointNotConverted, {Point})),
                         Map.NumHeader.MapFileName);
        }
        return {Converted};
    } catch (const EConvertError&) {
        throw EPointNotUnderstood(Text(TText::PointNotUnderstood, {Point}));
    }
}

TGridCell CellOfTarget(const TLoadedMap& Map, const TPointTarget& Target,
                       const std::string& Point) {
    const std::optional<TGridCell> Cell =
        Target.Place ? CellAt(Map, *Target.Place) : CellOfRow(Map, Target.Col, Target.Row);
    if (!Cell) {
        throw Placed(ETalvoError(Text(TText::PointOffMap, {Point})), Map.NumHeader.MapFileName);
    }
    return *Cell;
}

} // namespace

TGridCell CellOfPointText(const TLoadedMap& Map, const std::string& Point) {
    return CellOfTarget(Map, TargetOf(Map, Point), Point);
}

TMapPoint PointOfText(const TLoadedMap& Map, const std::string& Point) {
    const TPointTarget Target = TargetOf(Map, Point);
    const TGridCell Cell = CellOfTarget(Map, Target, Point);
    return Target.Place.value_or(CellCentre(Map, Cell));
}

} // namespace talvo
