#include "settings/ShadeMode.h"

#include <utility>

namespace talvo {

namespace {

constexpr std::pair<std::string_view, TShadeMode> Names[] = {
    {"ramp", TShadeMode::Ramp},
    {"hillshade", TShadeMode::Hillshade},
    {"multidirectional", TShadeMode::Multidirectional},
    {"combined", TShadeMode::Combined},
    {"redrelief", TShadeMode::RedRelief}};

} // namespace

std::optional<TShadeMode> ShadeModeNamed(std::string_view Name) {
    for (const auto& [Known, Mode] : Names) {
        if (Name == Known) {
            return Mode;
        }
    }
    return std::nullopt;
}

std::string_view ShadeModeName(TShadeMode Mode) {
    for (const auto& [Name, Known] : Names) {
        if (Mode == Known) {
            return Name;
        }
    }
    return Names[0].first;
}

} // namespace talvo
