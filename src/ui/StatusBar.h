#pragma once

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <utility>

#include "render/HeightColourTable.h"
#include "settings/ShadeMode.h"

namespace talvo {

// The colour ramp as a bar with its lowest, middle and highest heights in metres beneath, and
// swatches of what the ramp leaves out: the sea, cells without data, land below Min and above
// Max, each in the colour the picture gives it.
class TLegend : public QWidget {
    Q_OBJECT

  public:
    explicit TLegend(QWidget* Parent = nullptr);
    void SetRamp(const THeightColourTable& Table, const TViewSettings& Settings);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* Event) override;

  private:
    // The swatches' captions and colours, in the order they are drawn.
    std::array<std::pair<QString, int32_t>, 4> Swatches() const;
    // Where the bar begins (room for half its first value), where the swatches begin (past
    // its last value and unit), and how wide a swatch's column is.
    int BarLeft() const;
    int SwatchesLeft() const;
    int SwatchColumn() const;

    THeightColourTable Ramp{};
    TViewSettings Colours{};
};

// The strip under the picture: the Profile toggle, the readout of the cell under the cursor and
// the legend, which its context menu shows or hides; the menu also offers Go to and Copy, and its
// "Shading" names the picture's shading and tells when another is chosen.
class TStatusBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int BarHeight = 38; // two lines of the readout

    explicit TStatusBar(QWidget* Parent = nullptr);

    QToolButton* ProfileButton;
    QLabel* Readout;
    TLegend* Legend;
    // Go to a point (Ctrl+G) and copy the readout (Ctrl+C); the main window runs them.
    QAction *GoToAction, *CopyAction;
    // The shading the menu shows as chosen.
    TShadeMode Shade = TShadeMode::Ramp;

  signals:
    // A TShadeMode, chosen from the menu.
    void ShadeChosen(int Mode);

  protected:
    void contextMenuEvent(QContextMenuEvent* Event) override;
};

} // namespace talvo
