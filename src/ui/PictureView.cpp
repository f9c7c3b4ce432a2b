#include "ui/PictureView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "model/MapViewRules.h"

namespace talvo {

TPictureView::TPictureView(QWidget* Parent) : QAbstractScrollArea(Parent) {
    viewport()->setAutoFillBackground(false);
}

void TPictureView::SetPicture(const TBitmap* Shown) {
    Picture = Shown;
    UpdateScrollBars();
    viewport()->update();
}

void TPictureView::SetScale(double MScale) {
    Scale = MScale;
    UpdateScrollBars();
    viewport()->update();
}

void TPictureView::SetPictureVisible(bool Visible) {
    FVisible = Visible;
    viewport()->update();
}

QSize TPictureView::ShownSize() const {
    if (!Picture) {
        return {0, 0};
    }
    return {ZoomedLength(Picture->Width(), Scale), ZoomedLength(Picture->Height(), Scale)};
}

void TPictureView::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    UpdateScrollBars();
}

void TPictureView::UpdateScrollBars() {
    const QSize Shown = ShownSize();
    const QSize Visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, Shown.width() - Visible.width()));
    horizontalScrollBar()->setPageStep(Visible.width());
    verticalScrollBar()->setRange(0, std::max(0, Shown.height() - Visible.height()));
    verticalScrollBar()->setPageStep(Visible.height());
}

void TPictureView::paintEvent(QPaintEvent* Event) {
    QPainter Painter(viewport());
    Painter.fillRect(Event->rect(), palette().window());
    if (!Picture || !FVisible) {
        return;
    }
    const QPoint Scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect Target =
        Event->rect().intersected(QRect(-Scrolled, ShownSize())); // viewport coordinates
    if (Target.isEmpty()) {
        return;
    }
    // The cell under each pixel: zoom factors are powers of two, so the division is exact.
    auto Cell = [this](int Shown, int32_t Cells) {
        return std::min(static_cast<int32_t>(Shown / Scale), Cells - 1);
    };
    std::vector<int32_t> Columns(static_cast<size_t>(Target.width()));
    for (int X = 0; X < Target.width(); ++X) {
        Columns[static_cast<size_t>(X)] = Cell(Target.left() + X + Scrolled.x(), Picture->Width());
    }
    QImage Part(Target.size(), QImage::Format_RGB32);
    for (int Y = 0; Y < Target.height(); ++Y) {
        const int32_t* Pixels =
            Picture->Row(Cell(Target.top() + Y + Scrolled.y(), Picture->Height()));
        auto* Out = reinterpret_cast<QRgb*>(Part.scanLine(Y));
        for (int X = 0; X < Target.width(); ++X) {
            const int32_t Colour = Pixels[Columns[static_cast<size_t>(X)]];
            // Colour values hold red in the low byte; Qt wants it above green.
            Out[X] = qRgb(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
        }
    }
    Painter.drawImage(Target.topLeft(), Part);
}

} // namespace talvo
