#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <vector>

#include "model/ScreenFit.h"
#include "settings/BoundsLine.h"

namespace talvo {

namespace {

TWindowBounds BoundsOf(const QWidget& Window, const QRect& Normal) {
    TWindowBounds Bounds;
    Bounds.State = Window.isMinimized() ? 1 : Window.isMaximized() ? 2 : 0;
    Bounds.Left = Normal.left();
    Bounds.Top = Normal.top();
    Bounds.Right = Normal.left() + Normal.width();
    Bounds.Bottom = Normal.top() + Normal.height();
    return Bounds;
}

} // namespace

std::vector<TScreenRect> ScreenAreas() {
    std::vector<TScreenRect> Screens;
    for (const QScreen* Screen : QGuiApplication::screens()) {
        const QRect Area = Screen->availableGeometry();
        Screens.push_back({Area.left(), Area.top(), Area.width(), Area.height()});
    }
    return Screens;
}

std::string PlacementKey(const QWidget& Window) {
    return Window.objectName().toStdString() + ".Bounds";
}

void RestorePlacement(QWidget& Window, std::string_view Line) {
    const std::optional<TWindowBounds> Stored =
        ParseBounds(Line, BoundsOf(Window, Window.geometry()));
    if (!Stored) {
        return;
    }
    // A placement saved on a monitor that is gone, or larger than this screen, comes back in view.
    const TScreenRect Placed = FitOnScreens(
        {Stored->Left, Stored->Top, Stored->Right - Stored->Left, Stored->Bottom - Stored->Top},
        ScreenAreas());
    Window.setGeometry(Placed.Left, Placed.Top, Placed.Width, Placed.Height);
    // Other numbers than the three states leave the window normal, as does a minimised one.
    Window.setWindowState(Stored->State == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
}

TExtraKey PlacementOf(const QWidget& Window) {
    // Qt keeps no minimised or maximised positions: -1 stands for "none".
    const QRect Normal =
        Window.normalGeometry().isValid() ? Window.normalGeometry() : Window.geometry();
    return {"Bounds", PlacementKey(Window), FormatBounds(BoundsOf(Window, Normal))};
}

} // namespace talvo
