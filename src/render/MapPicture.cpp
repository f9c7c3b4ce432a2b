#include "render/MapPicture.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "render/ClassColours.h"
#include "render/OverlayDrawing.h"

namespace talvo {

namespace {

// Rows per task: a few hundred thousand cells, so that a band is worth a thread and a cancel
// is seen within a millisecond or two.
constexpr int32_t BandCells = 1 << 18;

enum class TColouring { None, Elevation, LandUse, Vegetation };

TColouring ColouringOf(const std::string& Kind) {
    if (Kind == MapKindNumeric || Kind == MapKindElevation || Kind == MapKindBil) {
        return TColouring::Elevation;
    }
    if (Kind == MapKindLandUse) {
        return TColouring::LandUse;
    }
    if (Kind == MapKindVegetation) {
        return TColouring::Vegetation;
    }
    return TColouring::None;
}

void DrawElevationRow(const int32_t* Cells, int32_t Width, int32_t* Pixels,
                      const THeightColouring& Colouring) {
    // The first cell has no western neighbour: its rise is 0.
    int32_t Previous = Cells[0];
    for (int32_t J = 0; J < Width; ++J) {
        const int32_t Value = Cells[J];
        Pixels[J] = Colouring.Colour(Value / 10, Value - Previous);
        Previous = Value;
    }
}

template <typename TClassColour>
void DrawClassRow(const int32_t* Cells, int32_t Width, int32_t* Pixels, const TIni& Settings,
                  TClassColour ClassColour) {
    for (int32_t J = 0; J < Width; ++J) {
        Pixels[J] = ClassColour(Cells[J], Settings);
    }
}

// For each picture line, the grid row drawn on it: the last row that names it, as when rows are
// drawn one after another. -1 where no row does.
std::vector<int32_t> LineOwners(const MapState& Map, int32_t Lines) {
    std::vector<int32_t> Owner(static_cast<size_t>(Lines), -1);
    for (int32_t I = 0; I < Map.RowsRead; ++I) {
        const int32_t Y = Map.NumData.RowLineGrid.GetVal(0, I) - 1;
        if (Y >= 0 && Y < Lines) {
            Owner[static_cast<size_t>(Y)] = I;
        }
    }
    return Owner;
}

void DrawRows(const MapState& Map, TColouring Colouring, const TIni& Settings,
              const THeightColourTable& Table, TBitmap& Picture, TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const std::vector<int32_t> Owner = LineOwners(Map, Picture.Height());
    const int32_t Grain = std::max(1, BandCells / std::max(1, H.Pts_WE));
    const THeightColouring Heights(Settings, Table, H.CellSpacing);
    tbb::parallel_for(tbb::blocked_range<int32_t>(0, Map.RowsRead, Grain),
                      [&](const tbb::blocked_range<int32_t>& Rows) {
                          if (Progress.Cancelled()) {
                              return;
                          }
                          for (int32_t I = Rows.begin(); I != Rows.end(); ++I) {
                              const int32_t Y = Map.NumData.RowLineGrid.GetVal(0, I) - 1;
                              const int32_t* Cells = HeightRow(Map, I);
                              if (Y < 0 || Y >= Picture.Height() ||
                                  Owner[static_cast<size_t>(Y)] != I) {
                                  continue; // not seen: outside the picture, or drawn over
                              }
                              int32_t* Pixels = Picture.Row(Y);
                              switch (Colouring) {
                              case TColouring::Elevation:
                                  DrawElevationRow(Cells, H.Pts_WE, Pixels, Heights);
                                  break;
                              case TColouring::LandUse:
                                  DrawClassRow(Cells, H.Pts_WE, Pixels, Settings, LandUseColour);
                                  break;
                              case TColouring::Vegetation:
                                  DrawClassRow(Cells, H.Pts_WE, Pixels, Settings, VegetationColour);
                                  break;
                              case TColouring::None:
                                  break;
                              }
                          }
                          Progress.Advance(Rows.size());
                      });
}

} // namespace

std::optional<TBitmap> DrawMapPicture(const MapState& Map, const TIni& Settings,
                                      const THeightColourTable& Table, const TLayerFlags& Layers,
                                      TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    Progress.Start(Map.RowsRead);
    TBitmap Picture(H.Pts_WE, H.Pts_NS);
    const TColouring Colouring = ColouringOf(H.MapKind);
    if (Colouring != TColouring::None) {
        DrawRows(Map, Colouring, Settings, Table, Picture, Progress);
    } else {
        Progress.Advance(Map.RowsRead); // a kind without colours leaves its rows white
    }
    if (Progress.Cancelled()) {
        return std::nullopt;
    }
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        const auto Index = static_cast<size_t>(Layer);
        if (H.OverlayLoaded[Index] && Layers[Index]) {
            DrawOverlay(Picture, H.OverlayLists[Index], Settings.Entry[IniLayer0 + Index], Map);
        }
    }
    return Picture;
}

} // namespace talvo
