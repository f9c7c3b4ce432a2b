#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/OverlayLayers.h"

namespace talvo {

// Indexes of the numeric entries of TIni::Entry.
constexpr int IniAnchor0 = 0;      // Set0..Set5: elevation anchors, lowest heights first
constexpr int IniLandUse1 = 6;     // LU1..LU9: land-use classes 10..90
constexpr int IniVegetation1 = 15; // VG1..VG15: vegetation classes 10..150
constexpr int IniLayer0 = 30;      // ad, rv, lk, rd, hw, rw: overlay layer colours
constexpr int IniMin = 36;         // lower height limit, metres
constexpr int IniMax = 37;         // upper height limit, metres
constexpr int IniPit = 38;         // metres per ramp step
constexpr int IniShadowKK = 39;    // slope shading gain
constexpr int IniNumericEntries = 40;

// The user's colours, height limits, 3D options and layers. Entries 0..39 are numbers (mostly
// colour values); entry 40 of the table is the text Quality.
struct TIni {
    int32_t Sea = 0;
    int32_t Out = 0;
    std::array<int32_t, IniNumericEntries> Entry{};
    // As the settings file holds it, saved back unchanged; RenderQualityOf reads it.
    std::string Quality;
    bool SeaExp = false;
    // The ticked layer check boxes, in layer order.
    TLayerFlags GmpChk{};
};

// The 3D view's render qualities; Unrecognised for any other text, which draws as Gouraud.
enum class TRenderQuality { Wireframe, UnlitFlat, Flat, Gouraud, Phong, Mapping, Unrecognised };

// "WIREFRAME", "UNLITFLAT", "FLAT", "GOURAUD", "PHONG" or "MAPPING", in exactly these letters.
TRenderQuality RenderQualityOf(const std::string& Quality);

} // namespace talvo
