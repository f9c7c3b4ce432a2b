#include "ui/KSavePos.h"

#include <QGuiApplication>
#include <QScreen>
#include <vector>

#include "model/ScreenFit.h"
#include "platform/ProfileFile.h"
#include "settings/BoundsLine.h"

namespace talvo {

void TKSaveFormPos::Loaded() {
    SetForm(Owner);
    if (SaveBounds) {
        LoadFormBounds();
    }
}

void TKSaveFormPos::SaveFormBounds() {
    TWindowBounds Bounds;
    Bounds.State = Owner->isMinimized() ? 1 : Owner->isMaximized() ? 2 : 0;
    // Qt keeps no minimised or maximised positions: -1 stands for "none".
    const QRect Normal =
        Owner->normalGeometry().isValid() ? Owner->normalGeometry() : Owner->geometry();
    Bounds.Left = Normal.left();
    Bounds.Top = Normal.top();
    Bounds.Right = Normal.left() + Normal.width();
    Bounds.Bottom = Normal.top() + Normal.height();
    WriteBounds(FormatBounds(Bounds));
}

void TKSaveFormPos::LoadFormBounds() {
    TWindowBounds Current;
    Current.State = Owner->isMinimized() ? 1 : Owner->isMaximized() ? 2 : 0;
    const QRect Now = Owner->geometry();
    Current.Left = Now.left();
    Current.Top = Now.top();
    Current.Right = Now.left() + Now.width();
    Current.Bottom = Now.top() + Now.height();
    const std::optional<TWindowBounds> Stored = ParseBounds(ReadBounds(), Current);
    if (!Stored) {
        return;
    }
    std::vector<TScreenRect> Screens;
    for (const QScreen* Screen : QGuiApplication::screens()) {
        const QRect Area = Screen->availableGeometry();
        Screens.push_back({Area.left(), Area.top(), Area.width(), Area.height()});
    }
    // A placement saved on a monitor that is gone, or larger than this screen, comes back in view.
    const TScreenRect Placed = FitOnScreens(
        {Stored->Left, Stored->Top, Stored->Right - Stored->Left, Stored->Bottom - Stored->Top},
        Screens);
    Owner->setGeometry(Placed.Left, Placed.Top, Placed.Width, Placed.Height);
    if (ResumeIconic || Stored->State != 1) {
        // Other numbers than the three states leave the window normal.
        Owner->setWindowState(Stored->State == 1   ? Qt::WindowMinimized
                              : Stored->State == 2 ? Qt::WindowMaximized
                                                   : Qt::WindowNoState);
    }
}

TKSavePosIni::~TKSavePosIni() {
    if (SaveBounds && Form()) {
        try {
            SaveFormBounds();
        } catch (const std::exception&) {
            // The window is going away: a file that cannot be written was reported at closing.
        }
    }
}

void TKSavePosIni::WriteBounds(const std::string& Text) {
    WritePrivateProfileString("Bounds", Key(), Text, IniPath);
}

std::string TKSavePosIni::ReadBounds() {
    return GetPrivateProfileString("Bounds", Key(), "", IniPath);
}

} // namespace talvo
