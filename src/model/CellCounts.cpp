#include "model/CellCounts.h"

#include <algorithm>

namespace talvo {

float SourceValue(const TLoadedMap& Map, int32_t Row, int32_t Col) {
    const TNum_DataRec& D = Map.NumData;
    if (D.SourceHeights.Rows() > 0) {
        return D.SourceHeights.GetVal(Row, Col);
    }
    const int32_t Value = D.HeightGrid.GetVal(Row, Col);
    if (KindTraits(Map.NumHeader.MapKind).Colouring != TColouring::Elevation) {
        return static_cast<float>(Value);
    }
    return MetresOfTenths(Value);
}

TCellCounts CountCells(const TLoadedMap& Map) {
    TCellCounts Counts;
    const TMapKindTraits& Traits = KindTraits(Map.NumHeader.MapKind);
    if (!IsMapLoaded(Map.NumHeader.MapKind)) {
        return Counts;
    }
    const int32_t Cols = Map.NumHeader.Columns;
    for (int32_t Row = 0; Row < Map.RowsRead; ++Row) {
        const int32_t* Cells = HeightRow(Map, Row);
        for (int32_t Col = 0; Col < Cols; ++Col) {
            ++Counts.Cells;
            if (Traits.SeaCell == Cells[Col]) {
                ++Counts.Sea;
            } else if (Traits.NoDataCell == Cells[Col]) {
                ++Counts.NoData;
            } else {
                const double Value = SourceValue(Map, Row, Col);
                Counts.Min = std::min(Counts.Min.value_or(Value), Value);
                Counts.Max = std::max(Counts.Max.value_or(Value), Value);
            }
        }
    }
    return Counts;
}

} // namespace talvo
