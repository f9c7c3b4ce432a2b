#include "app/MapView.h"

#include <algorithm>

namespace talvo {

void TMapView::SetZoom(double Zoom, double Least) {
    FZoom = std::clamp(Zoom, Least, 8.0);
}

void TMapView::ShowPicture(TBitmap Picture, const std::shared_ptr<const TLoadedMap>& Map) {
    FPicture.reset(); // the picture on show goes now, not after the new one came
    FPicture = std::make_shared<const TBitmap>(std::move(Picture));
    FitSelection(Map);
}

void TMapView::ShowWindowedMap(const std::shared_ptr<const TLoadedMap>& Map) {
    FPicture.reset();
    FitSelection(Map);
}

void TMapView::FitSelection(const std::shared_ptr<const TLoadedMap>& Map) {
    const bool SameMap = FPictureMap.lock() == Map;
    FPictureMap = Map;
    if (SameMap) {
        return;
    }
    // A rectangle kept from a larger map would reach beyond this one's cells.
    const auto [Width, Height] = ShownSize(*Map);
    FSelection.Left = FSelection.Left >= Width ? 0 : FSelection.Left;
    FSelection.Top = FSelection.Top >= Height ? 0 : FSelection.Top;
    FSelection.Width = std::max(1, std::min(FSelection.Width, Width - FSelection.Left));
    FSelection.Height = std::max(1, std::min(FSelection.Height, Height - FSelection.Top));
}

std::pair<int32_t, int32_t> TMapView::ShownSize(const TLoadedMap& Map) const {
    if (FPicture) {
        return {ZoomedLength(FPicture->Width(), FZoom), ZoomedLength(FPicture->Height(), FZoom)};
    }
    return {ZoomedLength(Map.NumHeader.Columns, FZoom), ZoomedLength(Map.NumHeader.Rows, FZoom)};
}

TSelectionBounds TMapView::PlaceSelection(const TLoadedMap& Map, int32_t ClientWidth,
                                          int32_t ClientHeight, int32_t OriginX, int32_t OriginY) {
    const auto [Width, Height] = ShownSize(Map);
    // Worked out over the picture, whose first pixel is the origin.
    TSelectionBounds Bounds =
        SelectionBounds(FSelection.Left - OriginX, FSelection.Top - OriginY, Width, Height,
                        ClientWidth - OriginX, ClientHeight - OriginY);
    Bounds = {Bounds.Left + OriginX, Bounds.Top + OriginY, Bounds.MaxRight + OriginX,
              Bounds.MaxBottom + OriginY};
    FSelection.Left = Bounds.Left;
    FSelection.Top = Bounds.Top;
    return Bounds;
}

TRegion TMapView::SelectedRegion(const TLoadedMap& Map, int32_t ScrollX, int32_t ScrollY,
                                 std::string_view StepText, std::string_view HScaleText) const {
    TRegion Region =
        SelectionRegion(FSelection.Left, FSelection.Top, FSelection.Width, FSelection.Height,
                        ScrollX, ScrollY, FZoom, StepText, HScaleText);
    const TNum_HeaderRec& H = Map.NumHeader;
    Region.StartX = std::clamp(Region.StartX, 0, std::max(H.Columns - 1, 0));
    Region.StartY = std::clamp(Region.StartY, 0, std::max(H.Rows - 1, 0));
    Region.SizeX = std::min(Region.SizeX, H.Columns - Region.StartX);
    Region.SizeY = std::min(Region.SizeY, H.Rows - Region.StartY);
    return Region;
}

} // namespace talvo
