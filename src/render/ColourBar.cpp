#include "render/ColourBar.h"

namespace talvo {

std::vector<TColourBand> ColourBarBands(int32_t Height) {
    const float Step = static_cast<float>(Height) / 50.0f;
    std::vector<TColourBand> Bands;
    for (int32_t Entry = 0; Entry <= 50; ++Entry) {
        const auto Top = static_cast<int32_t>(static_cast<float>(Entry) * Step);
        const auto Bottom = static_cast<int32_t>(static_cast<float>(Top) + Step + 1.0f);
        Bands.push_back({Entry, Top, Bottom});
    }
    return Bands;
}

} // namespace talvo
