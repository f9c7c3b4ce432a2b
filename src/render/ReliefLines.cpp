#include "render/ReliefLines.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace talvo {

namespace {

constexpr float NoHeight = std::numeric_limits<float>::quiet_NaN();

} // namespace

TLineBlock::TLineBlock(const TReliefInput& Input, int32_t First, int32_t Last, int32_t Halo)
    : Width(Input.Width), Start(std::max(0, First - Halo)),
      Count(std::min(Input.Height, Last + Halo) - Start),
      Cells(static_cast<size_t>(Count) * static_cast<size_t>(Width)) {
    for (int32_t Line = 0; Line < Count; ++Line) {
        Input.FillLine(Start + Line, Cells.data() + static_cast<size_t>(Line) * Width);
    }
}

const float* TLineBlock::Line(int32_t Line) const {
    if (Line < Start || Line >= Start + Count) {
        return nullptr;
    }
    return Cells.data() + static_cast<size_t>(Line - Start) * Width;
}

TLineWindows::TLineWindows(int32_t Width, int32_t Height, bool ComputeEdges)
    : Width(Width), Height(Height), ComputeEdges(ComputeEdges) {
    for (std::vector<float>& Row : FPadded) {
        Row.assign(static_cast<size_t>(Width) + 2, NoHeight);
    }
}

bool TLineWindows::Load(const TLineBlock& Block, int32_t Line) {
    const float* Above = Line > 0 ? Block.Line(Line - 1) : nullptr;
    const float* Here = Block.Line(Line);
    const float* Below = Line + 1 < Height ? Block.Line(Line + 1) : nullptr;
    const bool Edge = !Above || !Below;
    FComplete = false;
    if (Width < 2 || Height < 2 || (Edge && !ComputeEdges)) {
        return false;
    }
    float* Middle = FPadded[1].data() + 1;
    std::copy_n(Here, Width, Middle);
    for (int Side = 0; Side < 2; ++Side) {
        const float* Near = Side == 0 ? Above : Below;
        const float* Far = Side == 0 ? Below : Above;
        float* Out = FPadded[Side == 0 ? 0 : 2].data() + 1;
        if (Near) {
            std::copy_n(Near, Width, Out);
        } else {
            for (int32_t Col = 0; Col < Width; ++Col) {
                Out[Col] = 2 * Here[Col] - Far[Col];
            }
        }
    }
    if (ComputeEdges) {
        for (std::vector<float>& Row : FPadded) {
            const size_t Last = static_cast<size_t>(Width);
            Row[0] = Edge ? Row[1] : 2 * Row[1] - Row[2];
            Row[Last + 1] = Edge ? Row[Last] : 2 * Row[Last] - Row[Last - 1];
        }
    }
    // Without ComputeEdges the padding columns stay NaN; the edge columns have no window anyway.
    const size_t From = ComputeEdges ? 0 : 1;
    FComplete = std::none_of(FPadded.begin(), FPadded.end(), [From](const std::vector<float>& Row) {
        return std::any_of(Row.begin() + static_cast<ptrdiff_t>(From),
                           Row.end() - static_cast<ptrdiff_t>(From),
                           [](float Cell) { return std::isnan(Cell); });
    });
    return true;
}

} // namespace talvo
