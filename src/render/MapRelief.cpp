#include "render/MapRelief.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "model/DegreeSize.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

std::vector<TCellSize> CellSizesOf(const TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    std::vector<TCellSize> Sizes(static_cast<size_t>(H.Rows));
    if (H.Projected) {
        const std::array<double, 6>& T = Map.Georeference.Transform;
        const double Unit = Map.Georeference.MetresPerUnit;
        std::fill(Sizes.begin(), Sizes.end(), TCellSize{T[1] * Unit, std::abs(T[5]) * Unit});
    } else {
        const std::array<double, 6> T = TransformOfBounds(H);
        for (size_t Line = 0; Line < Sizes.size(); ++Line) {
            const double Latitude = T[3] + (static_cast<double>(Line) + 0.5) * T[5];
            const TDegreeSize Degree = DegreeSizeAt(std::clamp(Latitude, -90.0, 90.0));
            Sizes[Line] = {T[1] * Degree.East, std::abs(T[5]) * Degree.North};
        }
    }
    const bool Sized = std::all_of(Sizes.begin(), Sizes.end(), [](TCellSize Size) {
        return std::isfinite(Size.East) && std::isfinite(Size.North) && Size.East > 0 &&
               Size.North > 0;
    });
    if (!Sized) {
        throw Placed(ETalvoError(Text(TText::ReliefNeedsCellSize)), H.MapFileName);
    }
    return Sizes;
}

} // namespace

TReliefInput ReliefInputOf(const TLoadedMap& Map, std::optional<double> Sea) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const TMapKindTraits& Traits = KindTraits(H.MapKind);
    if (Traits.Colouring != TColouring::Elevation || Map.RowsRead == 0 || H.Columns <= 0 ||
        H.Rows <= 0) {
        throw Placed(ETalvoError(Text(TText::ReliefNeedsHeights)), H.MapFileName);
    }
    TReliefInput Input;
    Input.Width = H.Columns;
    Input.Height = H.Rows;
    Input.CellSizes = CellSizesOf(Map);
    constexpr float None = std::numeric_limits<float>::quiet_NaN();
    const float SeaHeight = Sea ? static_cast<float>(*Sea) : None;
    // Values no 32-bit cell holds stand for a kind without sea or no-data cells.
    const int64_t SeaCell = Traits.SeaCell.value_or(INT64_MIN);
    const int64_t NoDataCell = Traits.NoDataCell.value_or(INT64_MIN);
    auto Rows = std::make_shared<const std::vector<int32_t>>(LineRows(Map, H.Rows));
    Input.FillLine = [&Map, Rows, SeaHeight, SeaCell, NoDataCell, None](int32_t Line,
                                                                        float* Heights) {
        const int32_t Row = (*Rows)[static_cast<size_t>(Line)];
        const int32_t Width = Map.NumHeader.Columns;
        if (Row < 0) {
            std::fill_n(Heights, Width, None);
            return;
        }
        const int32_t* Tenths = HeightRow(Map, Row);
        const TDimGrid<float>& Source = Map.NumData.SourceHeights;
        const float* Metres =
            Source.Rows() > 0 && Source.Cols() >= Width ? Source.RowData(Row) : nullptr;
        for (int32_t Col = 0; Col < Width; ++Col) {
            const int32_t Cell = Tenths[Col];
            if (Cell == SeaCell) {
                Heights[Col] = SeaHeight;
            } else if (Cell == NoDataCell) {
                Heights[Col] = None;
            } else {
                Heights[Col] = Metres ? Metres[Col] : MetresOfTenths(Cell);
            }
        }
    };
    return Input;
}

} // namespace talvo
