#pragma once

#include <cstdint>

#include "render/ReliefInput.h"
#include "render/ReliefLines.h"

namespace talvo {

// Topographic openness (Yokoyama, Shirasawa and Pike, 2002, "Visualizing topography by openness",
// Photogrammetric Engineering & Remote Sensing 68(3)): looking from a cell along each of the 8
// compass directions as far as the radius L, β_D is the highest and δ_D the lowest elevation angle
// of the cells seen, atan((z_i - z_0) / d_i); then
//   positive openness Φ_L = Σ_D (90° - β_D) / 8    (large on ridges, 90° on a plane)
//   negative openness Ψ_L = Σ_D (90° + δ_D) / 8    (large in valleys, 90° on a plane)
// A direction runs through the cells whose centres lie within L of the cell's (at least the first
// one); a direction that leaves the map at once, or meets only cells without data, is left out of
// the means, and a cell without data has no openness (NaN).
// Since atan rises with its argument, each direction keeps the highest and lowest slope
// (z_i - z_0) / d_i and takes two arctangents at the end: the work is 8 L / (cell size) steps per
// cell, what the definition reads, with no square of the radius.
class TOpenness {
  public:
    explicit TOpenness(double Radius) : Radius(Radius) {}

    // The cells a direction runs through along a line of cells of length Step.
    int32_t Steps(double Step) const;
    // The lines on either side of a line, at cell size Size, that its openness reads.
    int32_t Reach(TCellSize Size) const { return Steps(Size.North); }

    // The openness in degrees of the Width cells of Line, from Block, which holds Reach lines on
    // either side of it.
    void Line(const TLineBlock& Block, int32_t Line, int32_t Width, TCellSize Size, float* Positive,
              float* Negative) const;

  private:
    double Radius;
};

} // namespace talvo
