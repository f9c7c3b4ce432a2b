#include "ui/AppWindows.h"

namespace talvo {

TAppWindows::TAppWindows(TDialogs& Dialogs, const TSettingsFile& Ini,
                         const std::string& ShippedPalette)
    : MapForm(Dialogs, Ini, ShippedPalette),
      PalForm(MapForm.Settings(), MapForm.ColourTable(), Dialogs, Ini.Path, &MapForm),
      D3DForm(MapForm.Map(), MapForm.Settings(), MapForm.ColourTable(), MapForm.Terrain(),
              Dialogs) {
    MapForm.InfForm = &InfForm;
    MapForm.ShowPalette = [this] { PalForm.ShowPalette(); };
    MapForm.StartView = [this](const T3DRegion& Region) { D3DForm.StartView(Region); };
    connect(&MapForm, &TMapForm::Closed, this, [this] {
        D3DForm.close();
        PalForm.close();
        InfForm.close();
        emit Finished();
    });
}

} // namespace talvo
