#include "model/PointText.h"

#include <string_view>

#include "platform/Messages.h"
#include "platform/TextConvert.h"

namespace talvo {

TGridCell CellOfPointText(const TLoadedMap& Map, const std::string& Point) {
    const size_t Colon = Point.find(':');
    const size_t Comma = Point.find(',');
    const size_t Split = Colon != std::string::npos ? Colon : Comma;
    try {
        if (Split == std::string::npos ||
            Point.find_first_of(":,", Split + 1) != std::string::npos) {
            throw EPointNotUnderstood(Text(TText::PointNotUnderstood, {Point}));
        }
        const std::string_view First = std::string_view(Point).substr(0, Split);
        const std::string_view Second = std::string_view(Point).substr(Split + 1);
        if (Colon != std::string::npos) {
            if (const auto Cell = CellOfRow(Map, StrToInt(First), StrToInt(Second))) {
                return *Cell;
            }
        } else if (const auto Cell = CellAt(Map, {StrToFloat(First), StrToFloat(Second)})) {
            return *Cell;
        }
    } catch (const EConvertError&) {
        throw EPointNotUnderstood(Text(TText::PointNotUnderstood, {Point}));
    }
    throw Placed(ETalvoError(Text(TText::PointOffMap, {Point})), Map.NumHeader.MapFileName);
}

TMapPoint PointOfText(const TLoadedMap& Map, const std::string& Point) {
    const TGridCell Cell = CellOfPointText(Map, Point);
    const size_t Comma = Point.find(',');
    if (Comma == std::string::npos) {
        return CellCentre(Map, Cell);
    }
    return {StrToFloat(Point.substr(0, Comma)), StrToFloat(Point.substr(Comma + 1))};
}

} // namespace talvo
