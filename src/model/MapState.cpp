#include "model/MapState.h"

namespace talvo {

const int32_t* HeightRow(const MapState& Map, int32_t Row) {
    const TDelDim& Grid = Map.NumData.HeightGrid;
    const int32_t* Cells = Grid.RowData(Row);
    if (Map.NumHeader.Pts_WE > Grid.Cols()) {
        RaiseIndexOverRange(2, Grid.Cols());
    }
    return Cells;
}

int32_t* HeightRow(MapState& Map, int32_t Row) {
    return const_cast<int32_t*>(HeightRow(static_cast<const MapState&>(Map), Row));
}

void InitMapState(MapState& Map) {
    Map.NumData.RowLineGrid.SetDim(1, 1);
    Map.NumData.HeightGrid.SetDim(1, 1);
}

void ResetMapState(MapState& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    H.MeshCode.clear();
    H.Org_Scale = 0;
    H.Org_Surv.clear();
    H.Org_Mod.clear();
    H.NumericY.clear();
    H.Pts_WE = H.Pts_NS = 0;
    H.Ido_WS = H.Kei_WS = H.Ido_EN = H.Kei_EN = 0.0;
    H.Zuyou_Su = 0;
    for (int I = 0; I < 4; ++I) {
        H.Zu_name[I].clear();
        H.Zu_Flg[I].clear();
    }
    H.RecCnt = 0;
    H.Comment.clear();
    H.RecFlg.clear();
    H.CellSpacing = 0;
    H.BytesPerCell = 0;
    H.MapKind.clear();
    H.DataFileName.clear();
    H.MapFileName.clear();
    H.BigEndian = false;
    H.Projected = false;
    for (auto& List : H.OverlayLists) {
        List.clear();
    }
    H.OverlayLoaded.fill(false);
}

MapState StartMapState(const MapState& Previous) {
    MapState Map;
    InitMapState(Map);
    const TNum_HeaderRec& From = Previous.NumHeader;
    TNum_HeaderRec& H = Map.NumHeader;
    H.CellWidthLat = From.CellWidthLat;
    H.CellWidthLon = From.CellWidthLon;
    Set3DRegion(H, RegionOf(From));
    return Map;
}

T3DRegion RegionOf(const TNum_HeaderRec& Header) {
    return {Header.D3StartX, Header.D3StartY, Header.D3SizeX,
            Header.D3SizeY,  Header.D3Step,   Header.D3HScale};
}

void Set3DRegion(TNum_HeaderRec& Header, const T3DRegion& Region) {
    Header.D3StartX = Region.StartX;
    Header.D3StartY = Region.StartY;
    Header.D3SizeX = Region.SizeX;
    Header.D3SizeY = Region.SizeY;
    Header.D3Step = Region.Step;
    Header.D3HScale = Region.HScale;
}

} // namespace talvo
