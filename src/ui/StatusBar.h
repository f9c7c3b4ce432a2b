#pragma once

#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include "render/HeightColourTable.h"
#include "settings/ShadeMode.h"

namespace talvo {

// The colour ramp as a bar between its lowest and highest heights.
class TLegend : public QWidget {
    Q_OBJECT

  public:
    explicit TLegend(QWidget* Parent = nullptr);
    void SetRamp(const THeightColourTable& Table, int32_t Min, int32_t Max);

  protected:
    void paintEvent(QPaintEvent* Event) override;

  private:
    THeightColourTable Ramp{};
    QLabel *MinLabel, *MaxLabel;
};

// The strip under the picture: the Profile toggle, the readout of the cell under the cursor and
// the legend, which its context menu shows or hides; the menu's "Shading" names the picture's
// shading and tells when another is chosen.
class TStatusBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int BarHeight = 38; // two lines of the readout

    explicit TStatusBar(QWidget* Parent = nullptr);

    QToolButton* ProfileButton;
    QLabel* Readout;
    TLegend* Legend;
    // The shading the menu shows as chosen.
    TShadeMode Shade = TShadeMode::Ramp;

  signals:
    // A TShadeMode, chosen from the menu.
    void ShadeChosen(int Mode);

  protected:
    void contextMenuEvent(QContextMenuEvent* Event) override;
};

} // namespace talvo
