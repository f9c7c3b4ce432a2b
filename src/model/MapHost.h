#pragma once

#include <cstdint>
#include <string>

#include "platform/Bitmap.h"

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

    // The progress gauge: its maximum (the rows about to be drawn), position and visibility.
    virtual void SetProgressMax(int32_t Max) = 0;
    virtual void SetProgressPosition(int32_t Position) = 0;
    virtual void SetProgressVisible(bool Visible) = 0;
    // Lets the window handle what is pending (paint, input) during long work; once per row.
    virtual void ProcessMessages() = 0;
    virtual void SetControlEnabled(TMapControl Control, bool Enabled) = 0;
    // A message box: something the user should know that does not end the program's work.
    virtual void ShowMessage(const std::string& Text) = 0;
    // Draws the loaded map into the picture: the window calls the renderer with its settings.
    virtual void RenderMap(const std::string& MapKind) = 0;
    // The picture control: hidden while a picture is drawn, then given the new picture at its
    // natural size.
    virtual void SetPictureVisible(bool Visible) = 0;
    virtual void ShowPicture(TBitmap Picture) = 0;
    // The six layer check boxes, Layer 0..5 in the order ad, rv, lk, rd, hw, rw.
    virtual bool LayerChecked(int Layer) const = 0;
    virtual void SetLayerChecked(int Layer, bool Checked) = 0;
};

} // namespace talvo
