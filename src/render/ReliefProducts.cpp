#include "render/ReliefProducts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>

#include "render/Openness.h"
#include "render/RedRelief.h"
#include "render/ReliefLines.h"

namespace talvo {

namespace {

// Cells per task: enough for a band to be worth a thread, few enough to see a cancel soon.
constexpr int32_t BandCells = 1 << 18;

// A shade as gdaldem writes it into a byte: rounded, 0 to 255.
uint8_t ShadeByte(double Shade) {
    return static_cast<uint8_t>(std::clamp(std::floor(Shade + 0.5), 0.0, 255.0));
}

// Runs Band(First, Last) over bands of Lines lines at least, on every core.
template <typename TBand>
void OverBands(const TReliefInput& Input, int32_t Lines, TProgress& Progress, TBand Band) {
    const int32_t Grain = std::max(Lines, BandCells / std::max(1, Input.Width));
    tbb::parallel_for(tbb::blocked_range<int32_t>(0, Input.Height, Grain),
                      [&](const tbb::blocked_range<int32_t>& Range) {
                          if (Progress.Cancelled()) {
                              return;
                          }
                          Band(Range.begin(), Range.end());
                          Progress.Advance(Range.size());
                      });
    Progress.StopIfCancelled();
}

// Out's cells, each Cell(window, Horn's scale of its line) where it has a 3 × 3 window, else
// NoData.
template <typename TOut, typename TCell>
void EachWindow(const TReliefInput& Input, bool ComputeEdges, TOut* Out, TOut NoData,
                TProgress& Progress, TCell Cell) {
    OverBands(Input, 1, Progress, [&](int32_t First, int32_t Last) {
        const TLineBlock Block(Input, First, Last, 1);
        TLineWindows Windows(Input.Width, Input.Height, ComputeEdges);
        TWindow Window;
        for (int32_t Line = First; Line < Last; ++Line) {
            TOut* Row = Out + static_cast<size_t>(Line) * static_cast<size_t>(Input.Width);
            if (!Windows.Load(Block, Line)) {
                std::fill_n(Row, Input.Width, NoData);
                continue;
            }
            const THornScale Scale(Input.CellSizes[static_cast<size_t>(Line)]);
            for (int32_t Col = 0; Col < Input.Width; ++Col) {
                Row[Col] = Windows.Window(Col, Window) ? Cell(Window, Scale) : NoData;
            }
        }
    });
}

// Ten cells of the map's middle line, the radius of the published maps (50 m on a 5 m grid).
double DefaultRadius(const TReliefInput& Input) {
    const TCellSize Size = Input.CellSizes[static_cast<size_t>(Input.Height / 2)];
    return 10.0 * std::max(Size.East, Size.North);
}

void DrawRedRelief(const TReliefInput& Input, const TReliefOptions& Options, uint8_t* Out,
                   TProgress& Progress) {
    const TOpenness Openness(Options.Radius.value_or(DefaultRadius(Input)));
    int32_t Reach = 1;
    for (const TCellSize& Size : Input.CellSizes) {
        Reach = std::max(Reach, std::min(Openness.Reach(Size), Input.Height));
    }
    OverBands(Input, 4 * Reach, Progress, [&](int32_t First, int32_t Last) {
        const TLineBlock Block(Input, First, Last, Reach);
        TLineWindows Windows(Input.Width, Input.Height, Options.ComputeEdges);
        TWindow Window;
        const auto Cells = static_cast<size_t>(Input.Width);
        std::vector<float> Positive(Cells);
        std::vector<float> Negative(Cells);
        for (int32_t Line = First; Line < Last; ++Line) {
            uint8_t* Row = Out + 3 * Cells * static_cast<size_t>(Line);
            std::fill_n(Row, 3 * Cells, uint8_t{0});
            if (!Windows.Load(Block, Line)) {
                continue;
            }
            const TCellSize Size = Input.CellSizes[static_cast<size_t>(Line)];
            Openness.Line(Block, Line, Input.Width, Size, Positive.data(), Negative.data());
            const THornScale Scale(Size);
            for (int32_t Col = 0; Col < Input.Width; ++Col) {
                const auto C = static_cast<size_t>(Col);
                if (Windows.Window(Col, Window) && !std::isnan(Positive[C])) {
                    const std::array<uint8_t, 3> Colour = RedReliefColour(
                        Positive[C], Negative[C], SlopeDegrees(HornGradient(Window, Scale)));
                    std::copy(Colour.begin(), Colour.end(), Row + 3 * C);
                }
            }
        }
    });
}

// A shading of the light into one byte per cell.
template <typename TShade>
void DrawShade(const TReliefInput& Input, const TReliefOptions& Options, uint8_t* Out,
               TProgress& Progress, TShade Shade) {
    const THillShader Shader(Options.Shading);
    EachWindow(Input, Options.ComputeEdges, Out, uint8_t{0}, Progress,
               [&](const TWindow& Window, THornScale Scale) {
                   return ShadeByte(Shade(Shader, HornGradient(Window, Scale)));
               });
}

} // namespace

std::optional<TReliefProduct> ReliefProductNamed(std::string_view Name) {
    constexpr std::pair<std::string_view, TReliefProduct> Names[] = {
        {"hillshade", TReliefProduct::Hillshade},
        {"hillshade:multidirectional", TReliefProduct::Multidirectional},
        {"hillshade:combined", TReliefProduct::Combined},
        {"hillshade:igor", TReliefProduct::Igor},
        {"slope", TReliefProduct::Slope},
        {"redrelief", TReliefProduct::RedRelief}};
    for (const auto& [Known, Product] : Names) {
        if (Name == Known) {
            return Product;
        }
    }
    return std::nullopt;
}

TReliefRaster ComputeRelief(const TReliefInput& Input, const TReliefOptions& Options,
                            TProgress& Progress) {
    TReliefRaster Raster;
    Raster.Width = Input.Width;
    Raster.Height = Input.Height;
    const size_t Cells = static_cast<size_t>(Input.Width) * static_cast<size_t>(Input.Height);
    Progress.Start(Input.Height);
    if (Cells == 0) {
        return Raster;
    }
    switch (Options.Product) {
    case TReliefProduct::Slope:
        Raster.Degrees.resize(Cells);
        EachWindow(Input, Options.ComputeEdges, Raster.Degrees.data(), NoDataSlope, Progress,
                   [](const TWindow& Window, THornScale Scale) {
                       return static_cast<float>(SlopeDegrees(HornGradient(Window, Scale)));
                   });
        break;
    case TReliefProduct::RedRelief:
        Raster.Bands = 3;
        Raster.Bytes.resize(3 * Cells);
        DrawRedRelief(Input, Options, Raster.Bytes.data(), Progress);
        break;
    case TReliefProduct::Hillshade:
        Raster.Bytes.resize(Cells);
        DrawShade(Input, Options, Raster.Bytes.data(), Progress,
                  [](const THillShader& Shader, TGradient G) { return Shader.Hillshade(G); });
        break;
    case TReliefProduct::Multidirectional:
        Raster.Bytes.resize(Cells);
        DrawShade(
            Input, Options, Raster.Bytes.data(), Progress,
            [](const THillShader& Shader, TGradient G) { return Shader.Multidirectional(G); });
        break;
    case TReliefProduct::Combined:
        Raster.Bytes.resize(Cells);
        DrawShade(Input, Options, Raster.Bytes.data(), Progress,
                  [](const THillShader& Shader, TGradient G) { return Shader.Combined(G); });
        break;
    case TReliefProduct::Igor:
        Raster.Bytes.resize(Cells);
        DrawShade(Input, Options, Raster.Bytes.data(), Progress,
                  [](const THillShader& Shader, TGradient G) { return Shader.Igor(G); });
        break;
    }
    return Raster;
}

} // namespace talvo
