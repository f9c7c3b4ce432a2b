#include "model/MapViewRules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/TextConvert.h"

namespace talvo {

namespace {

int32_t Truncated(double Value) {
    return static_cast<int32_t>(std::clamp(std::trunc(Value), -2147483648.0, 2147483647.0));
}

} // namespace

double ZoomIn(double MScale) {
    return std::min(MScale * 2, 8.0);
}

double ZoomOut(double MScale, double Least) {
    return std::max(MScale / 2, Least);
}

std::string ZoomLabel(double MScale) {
    return MScale >= 1 ? "x " + std::to_string(Truncated(MScale))
                       : "1/" + std::to_string(Truncated(1 / MScale));
}

int32_t ZoomedLength(int32_t Cells, double MScale) {
    return Truncated(Cells * MScale);
}

TSelectionBounds SelectionBounds(int32_t Left, int32_t Top, int32_t PictureWidth,
                                 int32_t PictureHeight, int32_t ClientRight, int32_t ClientBottom) {
    return {Left >= PictureWidth || Left < 0 ? 0 : Left, Top >= PictureHeight || Top < 0 ? 0 : Top,
            std::min(PictureWidth, ClientRight), std::min(PictureHeight, ClientBottom)};
}

TRegion SelectionRegion(int32_t Left, int32_t Top, int32_t Width, int32_t Height, int32_t ScrollX,
                        int32_t ScrollY, double MScale, std::string_view StepText,
                        std::string_view HScaleText) {
    const int32_t Step = StrToInt(StepText);
    const auto HScale = static_cast<float>(StrToInt(HScaleText));
    return {Truncated(Left / MScale + ScrollX / MScale),
            Truncated(Top / MScale + ScrollY / MScale),
            Truncated((Width - 1) / MScale),
            Truncated((Height - 1) / MScale),
            Step,
            HScale};
}

std::string SaveName(const std::string& Chosen, int FilterIndex) {
    if (!std::filesystem::path(Chosen).extension().empty()) {
        return Chosen;
    }
    return Chosen + (FilterIndex == 2 ? ".jpg" : FilterIndex == 3 ? ".png" : ".bmp");
}

double FittingZoom(int32_t Width, int32_t Height, int32_t ViewWidth, int32_t ViewHeight) {
    // 2^-31 shows any map of 32-bit sizes in a pixel.
    constexpr double Smallest = 1.0 / (int64_t{1} << 31);
    double Scale = 8.0;
    while (Scale > Smallest &&
           (ZoomedLength(Width, Scale) > ViewWidth || ZoomedLength(Height, Scale) > ViewHeight)) {
        Scale /= 2;
    }
    return Scale;
}

double LeastZoom(int32_t Width, int32_t Height, int32_t ViewWidth, int32_t ViewHeight) {
    return std::min(0.125, FittingZoom(Width, Height, ViewWidth, ViewHeight));
}

} // namespace talvo
