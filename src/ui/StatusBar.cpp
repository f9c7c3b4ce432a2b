#include "ui/StatusBar.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <algorithm>

#include "render/ColourBar.h"

namespace talvo {

namespace {

constexpr int BarWidth = 120;
constexpr int SwatchSize = 12;

QColor ToQColor(int32_t Colour) {
    return QColor(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
}

} // namespace

TLegend::TLegend(QWidget* Parent) : QWidget(Parent) {
    setObjectName("Legend");
    // Shown whole: the readout beside it gives way.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TLegend::SetRamp(const THeightColourTable& Table, const TViewSettings& Settings) {
    Ramp = Table;
    Colours = Settings;
    updateGeometry();
    update();
}

std::array<std::pair<QString, int32_t>, 4> TLegend::Swatches() const {
    return {{{tr("海"), Colours.Sea},
             {tr("データなし"), Colours.NoData.value_or(Colours.Sea)},
             {tr("Min 未満"), Colours.Sea},
             {tr("Max 超"), Colours.Out}}};
}

int TLegend::BarLeft() const {
    return fontMetrics().horizontalAdvance(QString::number(Colours.Min)) / 2 + 2;
}

int TLegend::SwatchesLeft() const {
    const QFontMetrics Metrics = fontMetrics();
    return BarLeft() + BarWidth - Metrics.horizontalAdvance(QString::number(Colours.Max)) / 2 +
           Metrics.horizontalAdvance(QString::number(Colours.Max) + " m") + 12;
}

int TLegend::SwatchColumn() const {
    int Captions = 0;
    for (const auto& [Caption, Colour] : Swatches()) {
        Captions = std::max(Captions, fontMetrics().horizontalAdvance(Caption));
    }
    return SwatchSize + 4 + Captions + 10;
}

QSize TLegend::sizeHint() const {
    return {SwatchesLeft() + 2 * SwatchColumn(), TStatusBar::BarHeight};
}

void TLegend::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    const QFontMetrics Metrics = fontMetrics();
    const QString Top = QString::number(Colours.Max) + " m";
    const int Left = BarLeft();
    constexpr int BarTop = 3, BarHeight = 12;
    // The palette dialog's bar turned on its side: the lowest heights at the left.
    for (const TColourBand& Band : ColourBarBands(BarWidth)) {
        Painter.fillRect(Left + Band.Top, BarTop, Band.Bottom - Band.Top, BarHeight,
                         ToQColor(Ramp[static_cast<size_t>(Band.Entry)]));
    }
    Painter.setPen(palette().windowText().color());
    Painter.drawRect(Left - 1, BarTop - 1, BarWidth + 1, BarHeight + 1);
    const int Middle = Colours.Min + (Colours.Max - Colours.Min) / 2;
    const std::pair<int, QString> Ticks[] = {{0, QString::number(Colours.Min)},
                                             {BarWidth / 2, QString::number(Middle)},
                                             {BarWidth, Top}};
    for (const auto& [At, Label] : Ticks) {
        const int X = Left + At;
        Painter.drawLine(X, BarTop + BarHeight, X, BarTop + BarHeight + 3);
        // The unit follows the last value; values are centred on their ticks.
        const int Width = Metrics.horizontalAdvance(Label);
        const int Shift = At == BarWidth
                              ? Metrics.horizontalAdvance(QString::number(Colours.Max)) / 2
                              : Width / 2;
        Painter.drawText(X - Shift, height() - 3 - Metrics.descent(), Label);
    }
    // Two rows of two swatches beside the bar.
    int Index = 0;
    for (const auto& [Caption, Colour] : Swatches()) {
        const int X = SwatchesLeft() + (Index % 2) * SwatchColumn();
        const int Y = Index / 2 == 0 ? 3 : height() / 2 + 1;
        Painter.fillRect(X, Y + 1, SwatchSize, SwatchSize, ToQColor(Colour));
        Painter.drawRect(X, Y + 1, SwatchSize - 1, SwatchSize - 1);
        Painter.drawText(X + SwatchSize + 4, Y + Metrics.ascent(), Caption);
        ++Index;
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
        tr("地図の上に線を引いて断面図を描く (P。クリック、移動、クリック。Esc で取り消し)"));
    Readout = new QLabel(this);
    Readout->setObjectName("lblReadout");
    Legend = new TLegend(this);
    Legend->hide();
    GoToAction = new QAction(tr("移動..."), this);
    GoToAction->setObjectName("actGoTo");
    GoToAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    CopyAction = new QAction(tr("読み取りをコピー"), this);
    CopyAction->setObjectName("actCopy");
    CopyAction->setShortcut(QKeySequence::Copy);
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
    Menu.addSeparator();
    Menu.addAction(GoToAction);
    Menu.addAction(CopyAction);
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
