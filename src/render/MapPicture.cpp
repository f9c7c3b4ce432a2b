#include "render/MapPicture.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "render/ClassColours.h"
#include "render/HeightRowColouring.h"
#include "render/OverlayDrawing.h"
#include "render/ReliefBlend.h"

namespace talvo {

namespace {

// Lines per task: a few hundred thousand pixels, so that a band is worth a thread and a cancel
// is seen within a millisecond or two.
constexpr int32_t BandCells = 1 << 18;

template <typename TClassColour>
void DrawClassRow(const int32_t* Cells, int32_t Width, int32_t* Pixels,
                  const TViewSettings& Settings, TClassColour ClassColour) {
    for (int32_t J = 0; J < Width; ++J) {
        Pixels[J] = ClassColour(Cells[J], Settings);
    }
}

// The cells of a row without data (NoData's first) in their own colour (its second), over the
// colours the ramp gave them.
void PaintNoData(const int32_t* Cells, int32_t Width, std::pair<int32_t, int32_t> NoData,
                 int32_t* Pixels) {
    for (int32_t J = 0; J < Width; ++J) {
        if (Cells[J] == NoData.first) {
            Pixels[J] = NoData.second;
        }
    }
}

void DrawLines(const TLoadedMap& Map, TColouring Colouring, const TViewSettings& Settings,
               const THeightColourTable& Table, const TPictureRelief* Relief, TBitmap& Picture,
               TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const std::vector<int32_t> Owner = LineRows(Map, Picture.Height());
    // A band's relief reads lines beyond it: bands of a few times those lines at least.
    const int32_t Grain =
        std::max(Relief ? 4 * Relief->Halo() : 1, BandCells / std::max(1, H.Columns));
    const size_t ReliefLineBytes =
        Relief ? static_cast<size_t>(Relief->Bands()) * static_cast<size_t>(H.Columns) : 0;
    const THeightRowColouring Heights(Settings, Table, H.CellSpacing);
    // The no-data cells' own colour, when the palette gives one and the kind has such cells.
    const std::optional<int32_t> NoDataCell = KindTraits(H.MapKind).NoDataCell;
    std::optional<std::pair<int32_t, int32_t>> NoData;
    if (Settings.NoData && NoDataCell) {
        NoData.emplace(*NoDataCell, *Settings.NoData);
    }
    tbb::parallel_for(
        tbb::blocked_range<int32_t>(0, Picture.Height(), Grain),
        [&](const tbb::blocked_range<int32_t>& Lines) {
            if (Progress.Cancelled()) {
                return;
            }
            // The band's relief, coloured as soon as it is there, while its lines are in the cache.
            std::vector<uint8_t> Shades;
            if (Relief && Colouring == TColouring::Elevation) {
                Shades.resize(ReliefLineBytes * static_cast<size_t>(Lines.size()));
                Relief->Lines(Lines.begin(), Lines.end(), Shades.data());
            }
            for (int32_t Y = Lines.begin(); Y != Lines.end(); ++Y) {
                int32_t* Pixels = Picture.Row(Y);
                const int32_t I = Owner[static_cast<size_t>(Y)];
                if (I < 0) {
                    std::fill_n(Pixels, Picture.Width(), TBitmap::White);
                    continue;
                }
                const int32_t* Cells = HeightRow(Map, I);
                switch (Colouring) {
                case TColouring::Elevation:
                    if (Relief) {
                        BlendReliefRow(Heights, Cells, H.Columns,
                                       Shades.data() +
                                           ReliefLineBytes * static_cast<size_t>(Y - Lines.begin()),
                                       Relief->Bands(), Pixels);
                    } else {
                        Heights.ColourRow(Cells, H.Columns, Pixels);
                    }
                    if (NoData) {
                        PaintNoData(Cells, H.Columns, *NoData, Pixels);
                    }
                    break;
                case TColouring::LandUse:
                    DrawClassRow(Cells, H.Columns, Pixels, Settings, LandUseColour);
                    break;
                case TColouring::Vegetation:
                    DrawClassRow(Cells, H.Columns, Pixels, Settings, VegetationColour);
                    break;
                case TColouring::None:
                    break;
                }
            }
            Progress.Advance(Lines.size());
        });
}

} // namespace

std::optional<TBitmap> DrawMapPicture(const TLoadedMap& Map, const TOverlaySet& Overlays,
                                      const TViewSettings& Settings,
                                      const THeightColourTable& Table, const TLayerFlags& Layers,
                                      TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const TColouring Colouring = KindTraits(H.MapKind).Colouring;
    std::optional<TPictureRelief> Relief;
    if (Colouring == TColouring::Elevation) {
        Relief = ShadingRelief(Map, Settings.Shade);
    }
    Progress.Start(H.Rows);
    TBitmap Picture(H.Columns, H.Rows,
                    Colouring == TColouring::None ? TBitmap::TStart::White
                                                  : TBitmap::TStart::Unfilled);
    if (Colouring != TColouring::None) {
        DrawLines(Map, Colouring, Settings, Table, Relief ? &*Relief : nullptr, Picture, Progress);
    } else {
        Progress.Advance(H.Rows); // a kind without colours leaves the picture white
    }
    if (Progress.Cancelled()) {
        return std::nullopt;
    }
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        const auto Index = static_cast<size_t>(Layer);
        if (Overlays.Loaded[Index] && Layers[Index]) {
            DrawOverlay(Picture, Overlays.Lists[Index], Settings.LayerColours[Index], Map);
        }
    }
    return Picture;
}

} // namespace talvo
