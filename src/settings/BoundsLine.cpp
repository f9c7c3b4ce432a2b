#include "settings/BoundsLine.h"

#include <vector>

#include "platform/TextConvert.h"
#include "platform/ValueSplit.h"

namespace talvo {

std::string FormatBounds(const TWindowBounds& B) {
    std::string Line;
    for (int Value : {B.State, B.MinX, B.MinY, B.MaxX, B.MaxY, B.Left, B.Top, B.Right, B.Bottom}) {
        if (!Line.empty()) {
            Line += ',';
        }
        Line += std::to_string(Value);
    }
    return Line;
}

std::optional<TWindowBounds> ParseBounds(std::string_view Line, const TWindowBounds& Current) {
    const std::vector<std::string> Items = SplitValues(Line, false);
    if (Items.size() != 9) {
        return std::nullopt;
    }
    TWindowBounds Result = Current;
    int* Fields[] = {&Result.State, &Result.MinX, &Result.MinY,  &Result.MaxX,  &Result.MaxY,
                     &Result.Left,  &Result.Top,  &Result.Right, &Result.Bottom};
    for (size_t I = 0; I < Items.size(); ++I) {
        int32_t Value = 0;
        if (TryStrToInt(Items[I], Value)) {
            *Fields[I] = Value;
        }
    }
    return Result;
}

} // namespace talvo
