#include "model/LoadedMap.h"

#include "model/Dms.h"

namespace talvo {

const int32_t* HeightRow(const TLoadedMap& Map, int32_t Row) {
    const TDelDim& Grid = Map.NumData.HeightGrid;
    const int32_t* Cells = Grid.RowData(Row);
    if (Map.NumHeader.Pts_WE > Grid.Cols()) {
        RaiseIndexOverRange(2, Grid.Cols());
    }
    return Cells;
}

int32_t* HeightRow(TLoadedMap& Map, int32_t Row) {
    return const_cast<int32_t*>(HeightRow(static_cast<const TLoadedMap&>(Map), Row));
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
    return {Corner(H.Ido_WS), Corner(H.Kei_WS), Corner(H.Ido_EN), Corner(H.Kei_EN)};
}

std::array<double, 6> TransformOfBounds(const TNum_HeaderRec& H) {
    const TBounds B = BoundsOf(H);
    const long double Cols = H.Pts_WE > 0 ? H.Pts_WE : 1;
    const long double Rows = H.Pts_NS > 0 ? H.Pts_NS : 1;
    return {static_cast<double>(B.West),
            static_cast<double>((B.East - B.West) / Cols),
            0.0,
            static_cast<double>(B.North),
            0.0,
            static_cast<double>(-(B.North - B.South) / Rows)};
}

} // namespace talvo
