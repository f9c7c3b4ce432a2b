#include "settings/ViewSettings.h"

#include <span>
#include <stdexcept>

namespace talvo {

int32_t& PaletteColour(TViewSettings& Settings, size_t Index) {
    const std::span<int32_t> Groups[] = {Settings.Anchors, Settings.LandUse, Settings.Vegetation,
                                         Settings.LayerColours};
    for (std::span<int32_t> Group : Groups) {
        if (Index < Group.size()) {
            return Group[Index];
        }
        Index -= Group.size();
    }
    throw std::out_of_range("no palette colour of that number");
}

int32_t PaletteColour(const TViewSettings& Settings, size_t Index) {
    return PaletteColour(const_cast<TViewSettings&>(Settings), Index);
}

} // namespace talvo
