#include "model/CellCounts.h"

#include <algorithm>
#include <cmath>

namespace talvo {

namespace {

// The most cells of a map read by window that a pass reads at once.
constexpr int64_t CountedBandCells = int64_t{1} << 22;

void Add(TCellCounts& Counts, const TCellCounts& Part) {
    Counts.Cells += Part.Cells;
    Counts.Sea += Part.Sea;
    Counts.NoData += Part.NoData;
    for (const std::optional<double>& Value : {Part.Min, Part.Max}) {
        if (Value) {
            Counts.Min = std::min(Counts.Min.value_or(*Value), *Value);
            Counts.Max = std::max(Counts.Max.value_or(*Value), *Value);
        }
    }
}

// The grid a map read by window too large for a pass is counted on: its finest level within
// CountedOverviewCells, or the whole map fitted into that many cells.
TCellCounts CountedLevel(const TLoadedMap& Map) {
    TCellCounts Counts;
    for (const TLevelSize& Level : Map.Windows->Levels()) {
        if (int64_t{Level.Cols} * Level.Rows <= CountedOverviewCells) {
            Counts.Overview = Level;
            Counts.FromLevel = true;
            return Counts;
        }
    }
    const TNum_HeaderRec& H = Map.NumHeader;
    const double Scale = std::sqrt(static_cast<double>(CountedOverviewCells) / H.Columns / H.Rows);
    Counts.Overview = TLevelSize{std::max(1, static_cast<int32_t>(H.Columns * Scale)),
                                 std::max(1, static_cast<int32_t>(H.Rows * Scale))};
    return Counts;
}

TCellCounts CountWindows(const TLoadedMap& Map, TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const TCellWindow Whole{0, 0, H.Columns, H.Rows};
    TPartProgress Part(Progress);
    if (int64_t{H.Columns} * H.Rows > MaxGridCells) {
        TCellCounts Counts = CountedLevel(Map);
        Progress.Start(Counts.Overview->Rows);
        Add(Counts, CountCells(Map.Windows->Read(Whole, Counts.Overview->Cols,
                                                 Counts.Overview->Rows, Part)));
        return Counts;
    }
    TCellCounts Counts;
    const auto BandRows = static_cast<int32_t>(
        std::clamp<int64_t>(CountedBandCells / std::max(H.Columns, 1), 1, H.Rows));
    Progress.Start(H.Rows);
    for (int32_t First = 0; First < H.Rows; First += BandRows) {
        const int32_t Rows = std::min(BandRows, H.Rows - First);
        Add(Counts,
            CountCells(Map.Windows->Read({0, First, H.Columns, Rows}, H.Columns, Rows, Part)));
    }
    return Counts;
}

} // namespace

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
    TProgress Unwatched;
    return CountCells(Map, Unwatched);
}

TCellCounts CountCells(const TLoadedMap& Map, TProgress& Progress) {
    TCellCounts Counts;
    const TMapKindTraits& Traits = KindTraits(Map.NumHeader.MapKind);
    if (!IsMapLoaded(Map.NumHeader.MapKind)) {
        return Counts;
    }
    if (Map.Windows) {
        return CountWindows(Map, Progress);
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
