#include "model/ClassNames.h"

#include <array>

namespace talvo {

namespace {

constexpr auto LandUse = std::to_array<TClassName>({
    {10, "森林", "Forest"},
    {20, "混合地域", "Mixed area"},
    {30, "草地・低木林・疎林", "Grassland, shrubs,\nsparse forest"},
    {40, "農地", "Cropland"},
    {50, "湿地", "Wetland"},
    {60, "裸地", "Bare ground"},
    {70, "市街地", "Urban area"},
    {80, "湖沼・河川", "Lakes and rivers"},
    {90, "海", "Sea"},
});

constexpr auto Vegetation = std::to_array<TClassName>({
    {10, "熱帯多雨林", "Tropical\nrainforest"},
    {20, "雨緑林", "Raingreen\nforest"},
    {30, "熱帯草原", "Tropical\ngrassland"},
    {40, "熱帯・亜熱帯の\n半荒原", "(Sub)tropical\nsemi-desert"},
    {50, "熱帯・亜熱帯の\n荒原", "(Sub)tropical\ndesert"},
    {60, "硬葉樹林", "Sclerophyll\nforest"},
    {70, "常緑広葉樹林", "Evergreen\nbroadleaf forest"},
    {80, "落葉広葉樹林", "Deciduous\nbroadleaf forest"},
    {90, "温帯草原", "Temperate\ngrassland"},
    {100, "温帯の半荒原", "Temperate\nsemi-desert"},
    {110, "温帯の荒原", "Temperate\ndesert"},
    {120, "北方針葉樹林", "Boreal\nconifer forest"},
    {130, "ツンドラ", "Tundra"},
    {140, "水面", "Water"},
    {150, "雪氷面", "Snow and ice"},
});

} // namespace

std::span<const TClassName> LandUseClasses() {
    return LandUse;
}

std::span<const TClassName> VegetationClasses() {
    return Vegetation;
}

std::string WrappedClassName(const TClassName& Class, TLanguage Language) {
    return Language == TLanguage::English ? Class.English : Class.Japanese;
}

std::string ClassNameOf(TColouring Colouring, int32_t Code, TLanguage Language) {
    const std::span<const TClassName> Classes = Colouring == TColouring::LandUse ? LandUseClasses()
                                                : Colouring == TColouring::Vegetation
                                                    ? VegetationClasses()
                                                    : std::span<const TClassName>();
    // Codes go in tens, and a code takes the class at or below it, as its colour does.
    const int32_t Index = Code / 10 - 1;
    if (Code < 0 || Index < 0 || static_cast<size_t>(Index) >= Classes.size()) {
        return "";
    }
    std::string Name = WrappedClassName(Classes[static_cast<size_t>(Index)], Language);
    // Japanese wraps between characters, English between words.
    const std::string Join = Language == TLanguage::English ? " " : "";
    for (size_t Break = Name.find('\n'); Break != std::string::npos; Break = Name.find('\n')) {
        Name.replace(Break, 1, Join);
    }
    return Name;
}

} // namespace talvo
