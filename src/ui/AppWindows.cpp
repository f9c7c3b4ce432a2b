#include "ui/AppWindows.h"

namespace talvo {

TAppWindows::TAppWindows(TDocument& Document, TDialogs& Dialogs)
    : MapForm(Document, Dialogs), PalForm(Document, Dialogs, &MapForm), View3D(Document, Dialogs),
      ProfileForm(Document, Dialogs) {
    MapForm.InfForm = &InfForm;
    View3D.MessageOwner = &MapForm;
    connect(&MapForm, &TMapWindow::PictureShown, &View3D, &TView3DWindow::PictureChanged);
    MapForm.ShowPalette = [this] { PalForm.ShowPalette(); };
    MapForm.StartView = [this](const TRegion& Region) { View3D.StartView(Region); };
    MapForm.ShowProfile = [this](const QPolygonF& Line) {
        MapForm.Guarded([&] { ProfileForm.ShowProfile(Line); });
    };
    connect(&ProfileForm, &TProfileWindow::SampleHovered, MapForm.ScrollBox,
            [this](QPointF Cell) { MapForm.ScrollBox->SetMarker(Cell); });
    connect(&ProfileForm, &TProfileWindow::Closed, &MapForm, &TMapWindow::CancelProfileLine);
    connect(MapForm.ScrollBox, &TPictureView::PointerMoved, &ProfileForm,
            &TProfileWindow::MarkNearest);
    connect(&MapForm, &TMapWindow::Closed, this, [this] {
        ProfileForm.close();
        View3D.close();
        PalForm.close();
        InfForm.close();
        emit Finished();
    });
}

} // namespace talvo
