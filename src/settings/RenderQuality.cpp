#include <utility>

#include "settings/ViewSettings.h"

namespace talvo {

TRenderQuality RenderQualityOf(const std::string& Quality) {
    constexpr std::pair<const char*, TRenderQuality> Names[] = {
        {"WIREFRAME", TRenderQuality::Wireframe},
        {"UNLITFLAT", TRenderQuality::UnlitFlat},
        {"FLAT", TRenderQuality::Flat},
        {"GOURAUD", TRenderQuality::Gouraud},
        {"PHONG", TRenderQuality::Phong},
        {"MAPPING", TRenderQuality::Mapping},
        {"MAP", TRenderQuality::Map}};
    for (const auto& [Name, Value] : Names) {
        if (Quality == Name) {
            return Value;
        }
    }
    return TRenderQuality::Unrecognised;
}

} // namespace talvo
