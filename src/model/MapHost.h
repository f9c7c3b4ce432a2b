#pragma once

#include <cstdint>
#include <string>

namespace talvo {

// What the readers and the renderer ask of the main window. The window implements it, the
// command line has a headless one and tests record the calls.
class TMapHost {
  public:
    virtual ~TMapHost() = default;

    // The progress gauge's maximum: the number of rows about to be drawn.
    virtual void SetProgressMax(int32_t Max) = 0;
    // Enables the 3D group box once a map that can be shown in 3D is loaded.
    virtual void Enable3D() = 0;
    // Draws the loaded map into the picture.
    virtual void RenderMap(const std::string& MapKind) = 0;
    // The six layer check boxes, Layer 0..5 in the order ad, rv, lk, rd, hw, rw.
    virtual bool LayerChecked(int Layer) const = 0;
    virtual void SetLayerChecked(int Layer, bool Checked) = 0;
};

} // namespace talvo
