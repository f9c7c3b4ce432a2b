#pragma once

#include <QAbstractScrollArea>
#include <QLineF>
#include <QSize>
#include <optional>

#include "platform/Bitmap.h"

namespace talvo {

// The picture area: the picture at a zoom factor in a scrolling view. Only the visible part is
// painted, straight from the picture, each cell a sharp block of pixels: no enlarged copy is
// ever made, so memory does not grow with the zoom. Children of the viewport (the selection
// rectangle) stay where they are when the picture scrolls.
class TPictureView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TPictureView(QWidget* Parent = nullptr);

    // The picture shown; not owned, it must outlive its showing. Null shows nothing.
    void SetPicture(const TBitmap* Shown);
    // Zoom factors are powers of two (1/8 … 8).
    void SetScale(double MScale);
    // Hides the picture (while the next one is drawn) or shows it again.
    void SetPictureVisible(bool Visible);
    bool PictureVisible() const { return FVisible; }
    // The picture's size at the zoom, truncated: the extent that scrolls.
    QSize ShownSize() const;

    // A new zoom that keeps the cell under Anchor (a point of the visible area) under it.
    void ZoomAbout(double MScale, QPoint Anchor);
    // The fractional cell (column, line) under a point of the visible area.
    QPointF CellAt(QPoint At) const;
    // Dragging with the left button pans too (not while the selection or a profile is drawn).
    void SetLeftButtonPans(bool Pans) { LeftPans = Pans; }
    // A line over the picture, in cells; nothing hides it.
    void SetOverlayLine(std::optional<QLineF> Cells);
    // A mark on the picture at a fractional cell (a profile's sample under the pointer).
    void SetMarker(std::optional<QPointF> Cell);

  signals:
    // The pointer is over the visible area at this fractional cell, or has left it.
    void PointerMoved(QPointF Cell);
    void PointerLeft();
    // A left click that did not pan.
    void Clicked(QPointF Cell);
    // Ctrl+wheel: Steps zooms in (positive) or out about a point of the visible area.
    void WheelZoom(int Steps, QPoint At);

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool viewportEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;

  private:
    void UpdateScrollBars();
    QPoint Scrolled() const;

    const TBitmap* Picture = nullptr;
    double Scale = 1.0;
    bool FVisible = true;
    bool LeftPans = true;
    std::optional<QPoint> PanFrom; // where a pan drag was last
    bool Panned = false;           // the press became a drag
    std::optional<QLineF> Overlay;
    std::optional<QPointF> Marker;
    int WheelAngle = 0; // eighths of a degree not yet turned into zoom steps
};

} // namespace talvo
