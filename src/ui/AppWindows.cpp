#include "ui/AppWindows.h"

namespace talvo {

TAppWindows::TAppWindows(TDocument& Document, TDialogs& Dialogs)
    : MapForm(Document, Dialogs), PalForm(Document, Dialogs, &MapForm), View3D(Document, Dialogs) {
    MapForm.InfForm = &InfForm;
    View3D.MessageOwner = &MapForm;
    View3D.Picture = [this]() -> const std::optional<TBitmap>& { return MapForm.Picture(); };
    connect(&MapForm, &TMapWindow::PictureShown, &View3D, &TView3DWindow::PictureChanged);
    MapForm.ShowPalette = [this] { PalForm.ShowPalette(); };
    MapForm.StartView = [this](const TRegion& Region) { View3D.StartView(Region); };
    connect(&MapForm, &TMapWindow::Closed, this, [this] {
        View3D.close();
        PalForm.close();
        InfForm.close();
        emit Finished();
    });
}

} // namespace talvo
