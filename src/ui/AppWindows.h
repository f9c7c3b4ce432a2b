#pragma once

#include <QObject>
#include <string>

#include "app/Document.h"
#include "ui/Dialogs.h"
#include "ui/InfoWindow.h"
#include "ui/MapWindow.h"
#include "ui/PaletteDialog.h"
#include "ui/ProfileWindow.h"
#include "ui/View3DWindow.h"

namespace talvo {

// The program's windows over one document, made in this order and wired together: the main
// window, the palette dialog, the information window, the 3D view and the profile window. Only
// the main window is shown. The information window stands on its own, so that it never covers the
// main window's picture; the main window's closing closes the others and ends the program.
class TAppWindows : public QObject {
    Q_OBJECT

  public:
    TAppWindows(TDocument& Document, TDialogs& Dialogs);

    TMapWindow MapForm;
    TPaletteDialog PalForm;
    TInfoWindow InfForm;
    TView3DWindow View3D;
    // Shown when a profile line has been drawn over the picture.
    TProfileWindow ProfileForm;

  signals:
    void Finished();
};

} // namespace talvo
