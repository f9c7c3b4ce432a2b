#pragma once

#include <QObject>
#include <string>

#include "settings/SettingsFile.h"
#include "ui/Dialogs.h"
#include "ui/DxForm.h"
#include "ui/UInfForm.h"
#include "ui/UMapForm.h"
#include "ui/UPalForm.h"

namespace talvo {

// The program's four windows, made in this order and wired together: the main window, the
// palette dialog, the information window and the 3D view. Only the main window is shown. The
// information window stands on its own, so that it never covers the main window's picture; the
// main window's closing closes the others and ends the program.
class TAppWindows : public QObject {
    Q_OBJECT

  public:
    TAppWindows(TDialogs& Dialogs, const TSettingsFile& Ini, const std::string& ShippedPalette);

    TMapForm MapForm;
    TPalForm PalForm;
    TInfForm InfForm;
    TD3DForm D3DForm;

  signals:
    void Finished();
};

} // namespace talvo
