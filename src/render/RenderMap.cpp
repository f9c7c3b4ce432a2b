#include "render/RenderMap.h"

#include "import/OverlayProc.h"
#include "render/ClassColours.h"

namespace talvo {

namespace {

// Marks the map as being drawn for the length of one picture.
class TDrawingGuard {
  public:
    explicit TDrawingGuard(bool& Drawing) : Drawing(Drawing) { Drawing = true; }
    ~TDrawingGuard() { Drawing = false; }
    TDrawingGuard(const TDrawingGuard&) = delete;
    TDrawingGuard& operator=(const TDrawingGuard&) = delete;

  private:
    bool& Drawing;
};

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

} // namespace

void RenderMap(const std::string& Kind, MapState& Map, const TIni& Settings,
               const THeightColourTable& Table, TMapHost& Host) {
    if (Map.Drawing) {
        return;
    }
    TDrawingGuard Guard(Map.Drawing);
    const TNum_HeaderRec& H = Map.NumHeader;

    Host.SetProgressVisible(true);
    TBitmap Picture(H.Pts_WE, H.Pts_NS);
    Host.SetPictureVisible(false);

    const bool Elevation = Kind == MapKindNumeric || Kind == MapKindElevation || Kind == MapKindBil;
    const bool LandUse = Kind == MapKindLandUse;
    const bool Vegetation = Kind == MapKindVegetation;
    if (Elevation || LandUse || Vegetation) {
        for (int32_t I = 0; I < Map.RowsRead; ++I) {
            Host.SetProgressPosition(I + 1);
            Host.ProcessMessages();
            const int32_t Y = Map.NumData.RowLineGrid.GetVal(0, I) - 1;
            const int32_t* Cells = HeightRow(Map, I);
            if (Y < 0 || Y >= Picture.Height()) {
                continue; // a row numbered outside the picture is not seen
            }
            int32_t* Pixels = Picture.Row(Y);
            if (Elevation) {
                DrawElevationRow(Cells, H.Pts_WE, Pixels,
                                 THeightColouring(Settings, Table, H.CellSpacing));
            } else if (LandUse) {
                DrawClassRow(Cells, H.Pts_WE, Pixels, Settings, LandUseColour);
            } else {
                DrawClassRow(Cells, H.Pts_WE, Pixels, Settings, VegetationColour);
            }
        }
    }

    LoadOverlays(Map, Host);
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        const auto Index = static_cast<size_t>(Layer);
        if (H.OverlayLoaded[Index] && Host.LayerChecked(Layer)) {
            DrawOverlay(Picture, H.OverlayLists[Index], Settings.Entry[IniLayer0 + Index], Map);
        }
    }

    Host.ShowPicture(std::move(Picture));
    Host.SetPictureVisible(true);
    Host.SetProgressVisible(false);
}

} // namespace talvo
