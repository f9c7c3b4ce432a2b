#include "settings/ViewSettings.h"

#include <span>
#include <stdexcept>
#include <string>

#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"

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

int32_t HeightLimit(std::string_view Typed, const char* Key) {
    const std::string_view Digits =
        Typed.substr(!Typed.empty() && (Typed[0] == '-' || Typed[0] == '+'));
    const bool Whole =
        !Digits.empty() && Digits.find_first_not_of("0123456789") == std::string_view::npos;
    int32_t Value = 0;
    if (!Whole) {
        return StrToInt(Typed);
    }
    if (!TryStrToInt(Typed, Value) || Value < LowestHeightLimit || Value > HighestHeightLimit) {
        throw EConvertError(
            Text(TText::HeightLimitRange, {Key, std::to_string(LowestHeightLimit),
                                           std::to_string(HighestHeightLimit), Typed}));
    }
    return Value;
}

int32_t PaletteColour(const TViewSettings& Settings, size_t Index) {
    return PaletteColour(const_cast<TViewSettings&>(Settings), Index);
}

} // namespace talvo
