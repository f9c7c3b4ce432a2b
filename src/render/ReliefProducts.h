#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Progress.h"
#include "render/HillShading.h"
#include "render/ReliefInput.h"

namespace talvo {

// What is derived from the heights: gdaldem's hillshades and slope, and the red relief image map.
enum class TReliefProduct { Hillshade, Multidirectional, Combined, Igor, Slope, RedRelief };

struct TReliefOptions {
    TReliefProduct Product = TReliefProduct::Hillshade;
    TShading Shading;
    // Cells on the map's edge and beside cells without data computed as gdaldem -compute_edges
    // does, rather than left without data as it does by default.
    bool ComputeEdges = false;
    // The red relief's openness radius in metres; ten cells when not given (50 m on a 5 m grid).
    std::optional<double> Radius;
};

// A product's cells, north line first: the bytes of a picture (a band, or red, green and blue
// interleaved), 0 where there is no data; or the slope in degrees, NoDataSlope where there is none.
struct TReliefRaster {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bands = 1;
    std::vector<uint8_t> Bytes;
    std::vector<float> Degrees;
};

constexpr float NoDataSlope = -9999.0F;

// The product named on the command line: "hillshade", "hillshade:multidirectional",
// "hillshade:combined", "hillshade:igor", "slope" or "redrelief"; nothing for another name.
std::optional<TReliefProduct> ReliefProductNamed(std::string_view Name);

// A picture product of heights (a hillshade or the red relief, not the slope) computed band by
// band of lines, so that a picture may colour each band as soon as its relief is there.
class TPictureRelief {
  public:
    TPictureRelief(TReliefInput Input, const TReliefOptions& Options);

    // Bytes a cell: 1 for a grey, 3 for red, green and blue.
    int32_t Bands() const { return Options.Product == TReliefProduct::RedRelief ? 3 : 1; }
    // Lines beyond a band that its relief reads.
    int32_t Halo() const { return FHalo; }
    // Lines First to Last - 1 into Out, from line First on, 0 where there is no data. Several
    // bands may be computed at once.
    void Lines(int32_t First, int32_t Last, uint8_t* Out) const;

  private:
    void ShadeLines(int32_t First, int32_t Last, uint8_t* Out) const;
    void RedReliefLines(int32_t First, int32_t Last, uint8_t* Out) const;

    TReliefInput Input;
    TReliefOptions Options;
    int32_t FHalo = 1;
};

// The product of Input, computed over bands of lines on every core. Progress counts the lines
// and may cancel: ECancelled is raised.
TReliefRaster ComputeRelief(const TReliefInput& Input, const TReliefOptions& Options,
                            TProgress& Progress);

} // namespace talvo
