#pragma once

#include <QRect>
#include <QWidget>

#include "model/SelShapeRules.h"

namespace talvo {

// A rubber-band rectangle over its parent: dragged by its inside to move, by its edges and
// corners to resize, within its limits. While a button is held the pointer is kept inside the
// parent's area. The arithmetic is SelShapeRules'.
class TSelShape : public QWidget {
    Q_OBJECT

  public:
    explicit TSelShape(QWidget* Parent);

    int SizeSense = 5;
    int MinWidth = 5;
    int MinHeight = 5;
    int MinTop = 0;
    int MinLeft = 0;
    int MaxBottom = 0;
    int MaxRight = 0;
    int SelOption = ResizeX | ResizeY | MoveX | MoveY;

    bool Dragging = false;
    int HitZone = 0;
    int LastX = 0;
    int LastY = 0;

  signals:
    // Every pointer move over the rectangle, before the drag step it causes.
    void MouseMoved();

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

  private:
    TSelLimits Limits() const;
    void KeepPointerInside();

    QRect Confinement; // in screen coordinates, while dragging
};

} // namespace talvo
