#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/LoadedMap.h"
#include "model/MapViewRules.h"
#include "model/Region.h"
#include "model/SelShapeRules.h"
#include "platform/Bitmap.h"

namespace talvo {

// What the main window shows of the document, apart from its widgets (as a map widget owns its
// viewport): the picture last drawn, the zoom it is shown at, and the selection rectangle of a
// 3D region, in pixels of the picture area. The window arranges and paints them; the 3D view
// drapes the picture from here.
class TMapView {
  public:
    // The rectangle a session starts with: 100 × 50 pixels, 5 pixels from the corner.
    static constexpr TSelRect StartSelection{5, 5, 100, 50};

    double Zoom() const { return FZoom; }
    // Zoom factors run Least (1/8, or less for a map 1/8 does not fit: LeastZoom) to 8 in powers
    // of two; others are brought into that range.
    void SetZoom(double Zoom, double Least = 0.125);

    // The picture on show at one pixel per cell, kept when a load fails; none before the first.
    const std::shared_ptr<const TBitmap>& Picture() const { return FPicture; }
    // Picture of Map goes on show; a selection made over another map's larger picture is brought
    // into it (a picture of the same map, drawn again at any zoom, leaves the selection alone).
    void ShowPicture(TBitmap Picture, const std::shared_ptr<const TLoadedMap>& Map);
    // Map, a map read by window, goes on show: it has no picture of its own (the window draws its
    // view, see ViewRequest). The selection is brought onto it as for a new picture.
    void ShowWindowedMap(const std::shared_ptr<const TLoadedMap>& Map);
    // The size of what is shown at the zoom: the picture, or Map's cells before any picture.
    std::pair<int32_t, int32_t> ShownSize(const TLoadedMap& Map) const;

    bool Selecting() const { return FSelecting; }
    void SetSelecting(bool Selecting) { FSelecting = Selecting; }
    const TSelRect& Selection() const { return FSelection; }
    // The rectangle as the user left it: it keeps its size across zooming.
    void SetSelection(const TSelRect& Selection) { FSelection = Selection; }
    // Where the rectangle may go over a picture area of ClientWidth × ClientHeight pixels whose
    // picture begins OriginX, OriginY pixels in (centred), and the rectangle moved to the
    // picture's corner when it starts beyond or before the picture.
    TSelectionBounds PlaceSelection(const TLoadedMap& Map, int32_t ClientWidth,
                                    int32_t ClientHeight, int32_t OriginX, int32_t OriginY);
    // The cells of Map under the rectangle with the picture scrolled by ScrollX, ScrollY pixels,
    // never beyond the map; Step and HScale as typed (EConvertError when they hold no integer).
    TRegion SelectedRegion(const TLoadedMap& Map, int32_t ScrollX, int32_t ScrollY,
                           std::string_view StepText, std::string_view HScaleText) const;

  private:
    // A selection made over another map is brought into Map.
    void FitSelection(const std::shared_ptr<const TLoadedMap>& Map);

    double FZoom = 1.0;
    std::shared_ptr<const TBitmap> FPicture;
    std::weak_ptr<const TLoadedMap> FPictureMap; // the map the picture shows
    bool FSelecting = false;
    TSelRect FSelection = StartSelection;
};

} // namespace talvo
