#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// The user's colours, height limits and 3D options. Entries 0..39 are numbers (mostly
// colour values); entry 40 of the table is the text Quality.
struct TIni {
    int32_t Sea = 0;
    int32_t Out = 0;
    std::array<int32_t, IniNumericEntries> Entry{};
    std::string Quality; // "WIREFRAME", "UNLITFLAT", "FLAT", "GOURAUD", "PHONG" or "MAPPING"
    bool SeaExp = false;
};

} // namespace talvo
