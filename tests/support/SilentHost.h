#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/MapHost.h"

namespace talvo::test {

// A window that shows nothing: it keeps the state of its controls and the messages it was
// asked to show.
class TSilentHost : public TMapHost {
  public:
    void SetProgressMax(int32_t) override {}
    void SetProgressPosition(int32_t) override {}
    void SetProgressVisible(bool) override {}
    void ProcessMessages() override {}
    void SetControlEnabled(TMapControl Control, bool Value) override {
        Enabled[static_cast<size_t>(Control)] = Value;
    }
    void ShowMessage(const std::string& Text) override { Messages.push_back(Text); }
    void RenderMap(const std::string&) override {}
    void SetPictureVisible(bool) override {}
    void ShowPicture(TBitmap) override {}
    bool LayerChecked(int Layer) const override { return Checked[static_cast<size_t>(Layer)]; }
    void SetLayerChecked(int Layer, bool Value) override {
        Checked[static_cast<size_t>(Layer)] = Value;
    }

    bool IsEnabled(TMapControl Control) const { return Enabled[static_cast<size_t>(Control)]; }

    std::array<bool, 3> Enabled = {true, true, true};
    std::array<bool, 6> Checked{};
    std::vector<std::string> Messages;
};

} // namespace talvo::test
