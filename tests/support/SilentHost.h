#pragma once

#include <array>

#include "model/MapHost.h"

namespace talvo::test {

// A window that shows nothing; its layer check boxes are plain flags.
class TSilentHost : public TMapHost {
  public:
    void SetProgressMax(int32_t) override {}
    void Enable3D() override {}
    void RenderMap(const std::string&) override {}
    bool LayerChecked(int Layer) const override { return Checked[static_cast<size_t>(Layer)]; }
    void SetLayerChecked(int Layer, bool Value) override {
        Checked[static_cast<size_t>(Layer)] = Value;
    }

    std::array<bool, 6> Checked{};
};

} // namespace talvo::test
