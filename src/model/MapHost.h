#pragma once

#include <cstdint>
#include <string>

namespace talvo {

// The main window's controls that the readers switch on and off.
enum class TMapControl {
    btnSel,    // "Select"
    btnRedraw, // "Redraw"
    grp3D,     // the 3D group box
};

// What the readers and the renderer ask of the main window. The window implements it, the
// command line has a headless one and tests record the calls.
class TMapHost {
  public:
    virtual ~TMapHost() = default;

    // The progress gauge's maximum: the number of rows about to be drawn.
    virtual void SetProgressMax(int32_t Max) = 0;
    virtual void SetControlEnabled(TMapControl Control, bool Enabled) = 0;
    // A message box: something the user should know that does not end the program's work.
    virtual void ShowMessage(const std::string& Text) = 0;
    // Draws the loaded map into the picture.
    virtual void RenderMap(const std::string& MapKind) = 0;
    // The six layer check boxes, Layer 0..5 in the order ad, rv, lk, rd, hw, rw.
    virtual bool LayerChecked(int Layer) const = 0;
    virtual void SetLayerChecked(int Layer, bool Checked) = 0;
};

} // namespace talvo
