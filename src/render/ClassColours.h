#pragma once

#include <cstdint>

#include "settings/ViewSettings.h"

namespace talvo {

// Land-use cells hold their class code (10, 20, ... 90); a code takes the colour of the
// class at or below it. Codes outside 0..99 take the Out colour.
inline int32_t LandUseColour(int32_t Code, const TViewSettings& Settings) {
    if (Code < 0 || Code > 99) {
        return Settings.Out;
    }
    return PaletteColour(Settings, static_cast<size_t>(PaletteLandUse1 - 1 + Code / 10));
}

// Vegetation cells hold their class code (10, 20, ... 150); codes outside 0..159 take the
// Out colour.
inline int32_t VegetationColour(int32_t Code, const TViewSettings& Settings) {
    if (Code < 0 || Code > 159) {
        return Settings.Out;
    }
    return PaletteColour(Settings, static_cast<size_t>(PaletteVegetation1 - 1 + Code / 10));
}

} // namespace talvo
