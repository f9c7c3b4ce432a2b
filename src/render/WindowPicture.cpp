#include "render/WindowPicture.h"

#include "model/OverlaySet.h"
#include "render/MapPicture.h"

namespace talvo {

std::optional<TBitmap> DrawWindowPicture(const TLoadedMap& Map, const TCellWindow& Window,
                                         int32_t Cols, int32_t Rows, const TViewSettings& Settings,
                                         const THeightColourTable& Table, TProgress& Progress) {
    try {
        const TLoadedMap Cells = Map.Windows->Read(Window, Cols, Rows, Progress);
        // A raster read by window has no mesh code, so no layer lies over it.
        return DrawMapPicture(Cells, TOverlaySet{}, Settings, Table, TLayerFlags{}, Progress);
    } catch (const ECancelled&) {
        return std::nullopt;
    }
}

} // namespace talvo
