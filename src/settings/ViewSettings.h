#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/OverlayLayers.h"
#include "settings/ShadeMode.h"

namespace talvo {

// How many colours the palette dialog shows, in the settings file's order: the six ramp anchors,
// nine land-use classes, fifteen vegetation classes and six layer colours.
constexpr size_t PaletteColourCount = 36;
// Where each group starts among them.
constexpr int PaletteLandUse1 = 6;
constexpr int PaletteVegetation1 = 15;
constexpr int PaletteLayer0 = 30;

// The user's colours, height limits, 3D options and layers, as the settings file holds them.
struct TViewSettings {
    int32_t Sea = 0;
    int32_t Out = 0;
    // The colour of cells without data; drawn as the sea when the file names none.
    std::optional<int32_t> NoData;
    std::array<int32_t, 6> Anchors{};      // Set0..Set5: the ramp's colours, lowest heights first
    std::array<int32_t, 9> LandUse{};      // LU1..LU9: land-use classes 10..90
    std::array<int32_t, 15> Vegetation{};  // VG1..VG15: vegetation classes 10..150
    std::array<int32_t, 6> LayerColours{}; // ad, rv, lk, rd, hw, rw
    int32_t Min = 0;                       // lower height limit, metres
    int32_t Max = 0;                       // upper height limit, metres
    int32_t Pit = 0;                       // metres per ramp step
    int32_t ShadowKK = 0;                  // slope shading gain
    // [Height] Shade: the ramp when the file names none (or one Talvo does not know).
    TShadeMode Shade = TShadeMode::Ramp;
    // As the settings file holds it, saved back unchanged; RenderQualityOf reads it.
    std::string Quality;
    bool SeaExp = false;
    // The ticked layer check boxes, in layer order.
    TLayerFlags GmpChk{};
};

// Colour Index of the palette (0..35, in the order above).
int32_t& PaletteColour(TViewSettings& Settings, size_t Index);
int32_t PaletteColour(const TViewSettings& Settings, size_t Index);

// The height limits the palette accepts, in metres: beyond any height, and their difference
// always fits the ramp's arithmetic.
constexpr int32_t LowestHeightLimit = -1000000;
constexpr int32_t HighestHeightLimit = 1000000;

// The text typed for the height limit Key ("Min" or "Max"): a decimal integer within the limits.
// Text that is no integer raises the documented conversion error; an integer beyond the limits
// says which key and the range.
int32_t HeightLimit(std::string_view Typed, const char* Key);

// The 3D view's render qualities; Unrecognised for any other text, which draws as Gouraud.
// Map lays the map's own picture on the terrain, unlit.
enum class TRenderQuality {
    Wireframe,
    UnlitFlat,
    Flat,
    Gouraud,
    Phong,
    Mapping,
    Map,
    Unrecognised
};

// "WIREFRAME", "UNLITFLAT", "FLAT", "GOURAUD", "PHONG", "MAPPING" or "MAP", in exactly these
// letters.
TRenderQuality RenderQualityOf(const std::string& Quality);

} // namespace talvo
