#include "ui/SelShape.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace talvo {

namespace {

Qt::CursorShape ZoneCursor(int Zone) {
    switch (Zone) {
    case 1:
    case 2:
        return Qt::SizeVerCursor;
    case 3:
    case 4:
        return Qt::SizeHorCursor;
    case 5:
    case 8:
        return Qt::SizeBDiagCursor;
    case 6:
    case 7:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

TSelShape::TSelShape(QWidget* Parent) : QWidget(Parent) {
    setObjectName("SelShape");
    setMouseTracking(true);
}

TSelLimits TSelShape::Limits() const {
    const QWidget* Parent = parentWidget();
    return {MinWidth,
            MinHeight,
            MinTop,
            MinLeft,
            MaxBottom,
            MaxRight,
            Parent ? Parent->width() : 0,
            Parent ? Parent->height() : 0,
            SelOption};
}

void TSelShape::paintEvent(QPaintEvent*) {
    // A 2-pixel aqua pen ANDed inverted with the picture: only the picture's red stays under it.
    QPainter Painter(this);
    Painter.setCompositionMode(QPainter::RasterOp_NotSourceAndDestination);
    QPen Pen(QColor(0, 255, 255), 2);
    Pen.setJoinStyle(Qt::MiterJoin);
    Painter.setPen(Pen);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void TSelShape::mousePressEvent(QMouseEvent* Event) {
    Dragging = true;
    LastX = Event->position().toPoint().x();
    LastY = Event->position().toPoint().y();
    if (const QWidget* Parent = parentWidget()) {
        Confinement = QRect(Parent->mapToGlobal(QPoint(0, 0)), Parent->frameSize());
    }
}

void TSelShape::mouseMoveEvent(QMouseEvent* Event) {
    emit MouseMoved();
    const QPoint At = Event->position().toPoint();
    if (Dragging) {
        TSelRect Rect{x(), y(), width(), height()};
        DragStep(HitZone, At.x() - LastX, At.y() - LastY, Rect, Limits(), LastX, LastY);
        setGeometry(Rect.Left, Rect.Top, Rect.Width, Rect.Height);
        KeepPointerInside();
    } else {
        HitZone = HitTest(At.x(), At.y(), width(), height(), SizeSense);
    }
    HitZone = FilterZone(HitZone, SelOption);
    setCursor(ZoneCursor(HitZone));
}

void TSelShape::mouseReleaseEvent(QMouseEvent*) {
    Dragging = false;
    Confinement = QRect();
}

void TSelShape::KeepPointerInside() {
    const QPoint Pointer = QCursor::pos();
    if (Confinement.isValid() && !Confinement.contains(Pointer)) {
        QCursor::setPos(std::clamp(Pointer.x(), Confinement.left(), Confinement.right()),
                        std::clamp(Pointer.y(), Confinement.top(), Confinement.bottom()));
    }
}

} // namespace talvo
