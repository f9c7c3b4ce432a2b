#include "ui/StatusBar.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>

#include "render/ColourBar.h"

namespace talvo {

namespace {

constexpr int BarWidth = 100;

QColor ToQColor(int32_t Colour) {
    return QColor(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
}

} // namespace

TLegend::TLegend(QWidget* Parent) : QWidget(Parent) {
    setObjectName("Legend");
    auto* Row = new QHBoxLayout(this);
    Row->setContentsMargins(0, 0, 0, 0);
    MinLabel = new QLabel(this);
    MaxLabel = new QLabel(this);
    Row->addWidget(MinLabel);
    Row->addSpacing(BarWidth + 4);
    Row->addWidget(MaxLabel);
}

void TLegend::SetRamp(const THeightColourTable& Table, int32_t Min, int32_t Max) {
    Ramp = Table;
    MinLabel->setText(QString::number(Min));
    MaxLabel->setText(QString::number(Max));
    update();
}

void TLegend::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    const int Left = MinLabel->geometry().right() + 2;
    // The palette dialog's bar turned on its side: the lowest heights at the left.
    for (const TColourBand& Band : ColourBarBands(BarWidth)) {
        Painter.fillRect(Left + Band.Top, 4, Band.Bottom - Band.Top, height() - 8,
                         ToQColor(Ramp[static_cast<size_t>(Band.Entry)]));
    }
}

TStatusBar::TStatusBar(QWidget* Parent) : QWidget(Parent) {
    setObjectName("StatusBar");
    auto* Row = new QHBoxLayout(this);
    Row->setContentsMargins(2, 0, 4, 0);
    ProfileButton = new QToolButton(this);
    ProfileButton->setObjectName("btnProfile");
    ProfileButton->setText(tr("断面図"));
    ProfileButton->setCheckable(true);
    ProfileButton->setToolTip(
        tr("地図の上に線を引いて断面図を描く (クリック、移動、クリック。Esc で取り消し)"));
    Readout = new QLabel(this);
    Readout->setObjectName("lblReadout");
    Legend = new TLegend(this);
    Legend->hide();
    Row->addWidget(ProfileButton);
    Row->addWidget(Readout, 1);
    Row->addWidget(Legend);
}

void TStatusBar::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu Menu(this);
    QAction* Shown = Menu.addAction(tr("凡例"));
    Shown->setCheckable(true);
    Shown->setChecked(Legend->isVisible());
    connect(Shown, &QAction::toggled, Legend, &QWidget::setVisible);
    // The shadings by the names --shade and the settings file give them.
    QMenu* Shading = Menu.addMenu(tr("陰影"));
    auto* Choices = new QActionGroup(Shading);
    for (const TShadeMode Mode :
         {TShadeMode::Ramp, TShadeMode::Hillshade, TShadeMode::Multidirectional,
          TShadeMode::Combined, TShadeMode::RedRelief}) {
        const std::string_view Name = ShadeModeName(Mode);
        QAction* Choice =
            Shading->addAction(QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size())));
        Choice->setCheckable(true);
        Choice->setChecked(Mode == Shade);
        Choice->setActionGroup(Choices);
        connect(Choice, &QAction::triggered, this,
                [this, Mode] { emit ShadeChosen(static_cast<int>(Mode)); });
    }
    Menu.exec(Event->globalPos());
}

} // namespace talvo
