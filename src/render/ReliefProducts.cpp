#include "render/ReliefProducts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <utility>

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

// Row's cells of the line Windows has loaded, each Cell(window, Scale) where it has a window, else
// NoData. A line whose cells all have data is read straight from its padded lines, in a loop the
// compiler can keep in registers.
template <typename TOut, typename TCell>
void WindowLine(const TLineWindows& Windows, int32_t Width, bool ComputeEdges, THornScale Scale,
                TOut* Row, TOut NoData, TCell Cell) {
    if (!Windows.Complete()) {
        TWindow Window;
        for (int32_t Col = 0; Col < Width; ++Col) {
            Row[Col] = Windows.Window(Col, Window) ? Cell(Window, Scale) : NoData;
        }
        return;
    }
    const float* A = Windows.Padded(0);
    const float* B = Windows.Padded(1);
    const float* C = Windows.Padded(2);
    const int32_t First = ComputeEdges ? 0 : 1;
    const int32_t Last = ComputeEdges ? Width : Width - 1;
    if (!ComputeEdges) {
        Row[0] = NoData;
        Row[Width - 1] = NoData;
    }
    for (int32_t Col = First; Col < Last; ++Col) {
        const TWindow Window = {A[Col],     A[Col + 1], A[Col + 2], B[Col],    B[Col + 1],
                                B[Col + 2], C[Col],     C[Col + 1], C[Col + 2]};
        Row[Col] = Cell(Window, Scale);
    }
}

// Out's cells, each Cell(window, Horn's scale of its line) where it has a 3 × 3 window, else
// NoData.
template <typename TOut, typename TCell>
void EachWindow(const TReliefInput& Input, bool ComputeEdges, TOut* Out, TOut NoData,
                TProgress& Progress, TCell Cell) {
    OverBands(Input, 1, Progress, [&](int32_t First, int32_t Last) {
        const TLineBlock Block(Input, First, Last, 1);
        TLineWindows Windows(Input.Width, Input.Height, ComputeEdges);
        for (int32_t Line = First; Line < Last; ++Line) {
            TOut* Row = Out + static_cast<size_t>(Line) * static_cast<size_t>(Input.Width);
            if (!Windows.Load(Block, Line)) {
                std::fill_n(Row, Input.Width, NoData);
                continue;
            }
            WindowLine(Windows, Input.Width, ComputeEdges,
                       THornScale(Input.CellSizes[static_cast<size_t>(Line)]), Row, NoData, Cell);
        }
    });
}

// Ten cells of the map's middle line, the radius of the published maps (50 m on a 5 m grid).
double DefaultRadius(const TReliefInput& Input) {
    const TCellSize Size = Input.CellSizes[static_cast<size_t>(Input.Height / 2)];
    return 10.0 * std::max(Size.East, Size.North);
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

TPictureRelief::TPictureRelief(TReliefInput Input, const TReliefOptions& Options)
    : Input(std::move(Input)), Options(Options) {
    if (Options.Product == TReliefProduct::RedRelief && this->Input.Height > 0) {
        const TOpenness Openness(Options.Radius.value_or(DefaultRadius(this->Input)));
        for (const TCellSize& Size : this->Input.CellSizes) {
            FHalo = std::max(FHalo, std::min(Openness.Reach(Size), this->Input.Height));
        }
    }
}

void TPictureRelief::Lines(int32_t First, int32_t Last, uint8_t* Out) const {
    if (Options.Product == TReliefProduct::RedRelief) {
        RedReliefLines(First, Last, Out);
    } else {
        ShadeLines(First, Last, Out);
    }
}

void TPictureRelief::ShadeLines(int32_t First, int32_t Last, uint8_t* Out) const {
    const THillShader Shader(Options.Shading);
    const TLineBlock Block(Input, First, Last, 1);
    TLineWindows Windows(Input.Width, Input.Height, Options.ComputeEdges);
    using TWholeLine = void (THillShader::*)(const float*, const float*, const float*, int32_t,
                                             int32_t, THornScale, uint8_t*) const;
    // Light's shade of each line; WholeLine's, when given, of a line whose windows are all whole.
    const auto Shade = [&](auto Light, TWholeLine WholeLine) {
        for (int32_t Line = First; Line < Last; ++Line) {
            uint8_t* Row =
                Out + static_cast<size_t>(Line - First) * static_cast<size_t>(Input.Width);
            if (!Windows.Load(Block, Line)) {
                std::fill_n(Row, Input.Width, uint8_t{0});
                continue;
            }
            const THornScale Scale(Input.CellSizes[static_cast<size_t>(Line)]);
            if (WholeLine && Windows.Complete()) {
                const bool Edges = Options.ComputeEdges;
                Row[0] = Row[Input.Width - 1] = 0;
                (Shader.*WholeLine)(Windows.Padded(0), Windows.Padded(1), Windows.Padded(2),
                                    Edges ? 0 : 1, Edges ? Input.Width : Input.Width - 1, Scale,
                                    Row);
                continue;
            }
            WindowLine(Windows, Input.Width, Options.ComputeEdges, Scale, Row, uint8_t{0},
                       [&](const TWindow& Window, THornScale Cell) {
                           return ShadeByte(Light(Shader, HornGradient(Window, Cell)));
                       });
        }
    };
    switch (Options.Product) {
    case TReliefProduct::Multidirectional:
        Shade([](const THillShader& S, TGradient G) { return S.Multidirectional(G); },
              &THillShader::MultidirectionalLine);
        break;
    case TReliefProduct::Combined:
        Shade([](const THillShader& S, TGradient G) { return S.Combined(G); }, nullptr);
        break;
    case TReliefProduct::Igor:
        Shade([](const THillShader& S, TGradient G) { return S.Igor(G); }, nullptr);
        break;
    default:
        Shade([](const THillShader& S, TGradient G) { return S.Hillshade(G); },
              &THillShader::HillshadeLine);
        break;
    }
}

void TPictureRelief::RedReliefLines(int32_t First, int32_t Last, uint8_t* Out) const {
    const TOpenness Openness(Options.Radius.value_or(DefaultRadius(Input)));
    const TLineBlock Block(Input, First, Last, FHalo);
    TLineWindows Windows(Input.Width, Input.Height, Options.ComputeEdges);
    TWindow Window;
    const auto Cells = static_cast<size_t>(Input.Width);
    std::vector<float> Positive(Cells);
    std::vector<float> Negative(Cells);
    for (int32_t Line = First; Line < Last; ++Line) {
        uint8_t* Row = Out + 3 * Cells * static_cast<size_t>(Line - First);
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
    case TReliefProduct::Hillshade:
    case TReliefProduct::Multidirectional:
    case TReliefProduct::Combined:
    case TReliefProduct::Igor: {
        const TPictureRelief Relief(Input, Options);
        Raster.Bands = Relief.Bands();
        Raster.Bytes.resize(static_cast<size_t>(Raster.Bands) * Cells);
        const size_t LineBytes =
            static_cast<size_t>(Raster.Bands) * static_cast<size_t>(Input.Width);
        OverBands(Input, 4 * Relief.Halo(), Progress, [&](int32_t First, int32_t Last) {
            Relief.Lines(First, Last, Raster.Bytes.data() + LineBytes * static_cast<size_t>(First));
        });
        break;
    }
    }
    return Raster;
}

} // namespace talvo
