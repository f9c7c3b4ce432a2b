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

// Value in place of the height of each of Width cells whose tenths are Cell.
void PutWhere(const int32_t* Tenths, int32_t Width, int32_t Cell, float Value, float* Heights) {
    for (int32_t Col = 0; Col < Width; ++Col) {
        Heights[Col] = Tenths[Col] == Cell ? Value : Heights[Col];
    }
}

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
    // A kind without sea or no-data cells marks none.
    const bool HasSea = Traits.SeaCell.has_value(), HasNoData = Traits.NoDataCell.has_value();
    const int32_t SeaCell = Traits.SeaCell.value_or(0);
    const int32_t NoDataCell = Traits.NoDataCell.value_or(0);
    auto Rows = std::make_shared<const std::vector<int32_t>>(LineRows(Map, H.Rows));
    Input.FillLine = [&Map, Rows, SeaHeight, HasSea, SeaCell, HasNoData, NoDataCell,
                      None](int32_t Line, float* Heights) {
        const int32_t Row = (*Rows)[static_cast<size_t>(Line)];
        const int32_t Width = Map.NumHeader.Columns;
        if (Row < 0) {
            std::fill_n(Heights, Width, None);
            return;
        }
        const int32_t* Tenths = HeightRow(Map, Row);
        const TDimGrid<float>& Source = Map.NumData.SourceHeights;
        // Each cell's metres, then the sea's and no data's in their place: chosen without a
        // branch, so that the compiler converts several cells at once.
        if (Source.Rows() > 0 && Source.Cols() >= Width) {
            std::copy_n(Source.RowData(Row), Width, Heights);
        } else {
            std::transform(Tenths, Tenths + Width, Heights, MetresOfTenths);
        }
        if (HasSea) {
            PutWhere(Tenths, Width, SeaCell, SeaHeight, Heights);
        }
        if (HasNoData) {
            PutWhere(Tenths, Width, NoDataCell, None, Heights);
        }
    };
    return Input;
}

} // namespace talvo
