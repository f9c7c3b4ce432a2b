#include "model/CellCounts.h"

#include <algorithm>
#include <cmath>

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

namespace {

// The rows read, checking Progress for a cancel between them.
TCellCounts CountRows(const TLoadedMap& Map, const TProgress& Progress) {
    TCellCounts Counts;
    const TMapKindTraits& Traits = KindTraits(Map.NumHeader.MapKind);
    if (!IsMapLoaded(Map.NumHeader.MapKind)) {
        return Counts;
    }
    const int32_t Cols = Map.NumHeader.Columns;
    for (int32_t Row = 0; Row < Map.RowsRead; ++Row) {
        Progress.StopIfCancelled();
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

} // namespace

TCellCounts CountCells(const TLoadedMap& Map) {
    return CountRows(Map, TProgress());
}

TCellCounts CountCells(const TLoadedMap& Map, TProgress& Progress) {
    const std::optional<TLevelSize> Overview = CountedOverview(Map);
    if (!Overview) {
        return CountRows(Map, Progress);
    }
    const TNum_HeaderRec& H = Map.NumHeader;
    return CountRows(
        Map.Windows->Read({0, 0, H.Columns, H.Rows}, Overview->Cols, Overview->Rows, Progress),
        Progress);
}

std::optional<TLevelSize> CountedOverview(const TLoadedMap& Map) {
    if (!Map.Windows || Map.Windows->Levels().empty()) {
        return std::nullopt;
    }
    const std::vector<TLevelSize>& Levels = Map.Windows->Levels();
    const auto Fits = std::find_if(Levels.begin(), Levels.end(), [](const TLevelSize& Level) {
        return int64_t{Level.Cols} * Level.Rows <= CountedCells;
    });
    if (Fits != Levels.end()) {
        return *Fits;
    }
    // No overview is that small: the map's cells sampled in every Step-th row and column.
    const TLevelSize& Whole = Levels.front();
    const auto Step = static_cast<int32_t>(std::ceil(std::sqrt(
        static_cast<double>(Whole.Cols) * Whole.Rows / static_cast<double>(CountedCells))));
    return TLevelSize{std::max(1, Whole.Cols / Step), std::max(1, Whole.Rows / Step)};
}

} // namespace talvo
