#include "model/LoadedMap.h"

#include <algorithm>

#include "model/Dms.h"

namespace talvo {

const int32_t* HeightRow(const TLoadedMap& Map, int32_t Row) {
    const TDelDim& Grid = Map.NumData.HeightGrid;
    const int32_t* Cells = Grid.RowData(Row);
    if (Map.NumHeader.Columns > Grid.Cols()) {
        RaiseIndexOverRange(2, Grid.Cols());
    }
    return Cells;
}

int32_t* HeightRow(TLoadedMap& Map, int32_t Row) {
    return const_cast<int32_t*>(HeightRow(static_cast<const TLoadedMap&>(Map), Row));
}

std::vector<int32_t> LineRows(const TLoadedMap& Map, int32_t Lines) {
    std::vector<int32_t> Owner(static_cast<size_t>(std::max(Lines, 0)), -1);
    for (int32_t I = 0; I < Map.RowsRead; ++I) {
        const int32_t Y = Map.NumData.RowLineGrid.GetVal(0, I) - 1;
        if (Y >= 0 && Y < Lines) {
            Owner[static_cast<size_t>(Y)] = I;
        }
    }
    return Owner;
}

void InitLoadedMap(TLoadedMap& Map) {
    Map.NumData.RowLineGrid.SetDim(1, 1);
    Map.NumData.HeightGrid.SetDim(1, 1);
}

TLoadedMap StartLoadedMap(const TLoadedMap& Previous) {
    TLoadedMap Map;
    InitLoadedMap(Map);
    Map.NumHeader.CellWidthLat = Previous.NumHeader.CellWidthLat;
    Map.NumHeader.CellWidthLon = Previous.NumHeader.CellWidthLon;
    return Map;
}

TBounds BoundsOf(const TNum_HeaderRec& H) {
    const bool Dms = KindTraits(H.MapKind).CornersInDms;
    auto Corner = [Dms](double Value) -> long double { return Dms ? DmsToDegrees(Value) : Value; };
    return {Corner(H.SouthLatitude), Corner(H.WestLongitude), Corner(H.NorthLatitude), Corner(H.EastLongitude)};
}

std::array<double, 6> TransformOfBounds(const TNum_HeaderRec& H) {
    const TBounds B = BoundsOf(H);
    const long double Cols = H.Columns > 0 ? H.Columns : 1;
    const long double Rows = H.Rows > 0 ? H.Rows : 1;
    return {static_cast<double>(B.West),
            static_cast<double>((B.East - B.West) / Cols),
            0.0,
            static_cast<double>(B.North),
            0.0,
            static_cast<double>(-(B.North - B.South) / Rows)};
}

} // namespace talvo
