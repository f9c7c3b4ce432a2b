#include "ui/SelShape.h"

#include <QPainter>

namespace talvo {

TSelShape::TSelShape(QWidget* Parent) : QWidget(Parent) {
    setObjectName("SelShape");
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void TSelShape::paintEvent(QPaintEvent*) {
    // A 2-pixel aqua frame that stays visible on any colour: the pen's inverse over the map.
    QPainter Painter(this);
    Painter.setCompositionMode(QPainter::RasterOp_NotSourceAndDestination);
    QPen Pen(QColor(0, 255, 255), 2);
    Pen.setJoinStyle(Qt::MiterJoin);
    Painter.setPen(Pen);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

} // namespace talvo
