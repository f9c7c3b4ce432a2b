#pragma once

#include <QAbstractScrollArea>
#include <QPolygonF>
#include <QSize>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "model/ViewRequest.h"
#include "platform/Bitmap.h"

namespace talvo {

// The picture area: the picture at a zoom factor in a scrolling view. Only the visible part is
// painted, straight from the picture, each cell a sharp block of pixels: no enlarged copy is
// ever made, so memory does not grow with the zoom. Children of the viewport (the selection
// rectangle) stay where they are when the picture scrolls. A map read by window has no picture of
// its own: the view's pictures are shown where their cells lie, at any zoom, the newest over the
// one before it, so that what was drawn stays in view, scaled and moved, while the next is drawn.
class TPictureView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TPictureView(QWidget* Parent = nullptr);

    // The picture shown; not owned, it must outlive its showing. Null shows nothing.
    void SetPicture(const TBitmap* Shown);
    // A map read by window of Cells cells, with no picture yet.
    void SetWindowedMap(QSize Cells);
    // A picture of the map read by window, drawn for Request, goes over the one shown before.
    void ShowViewPicture(std::shared_ptr<const TBitmap> Shown, const TViewRequest& Request);
    // The pixels shown and where the map lies under them.
    TViewArea Area() const;
    // Zoom factors are powers of two (1/8 … 8); a new one keeps the cell at the centre.
    void SetScale(double MScale);
    // Hides the picture (while the next one is drawn) or shows it again.
    void SetPictureVisible(bool Visible);
    bool PictureVisible() const { return FVisible; }
    // The map's size at the zoom, truncated: the extent that scrolls.
    QSize ShownSize() const;

    // A new zoom that keeps the cell under Anchor (a point of the visible area) under it, the
    // picture placed freely: it may begin inside the view or leave part of it empty.
    void ZoomAbout(double MScale, QPoint Anchor);
    // The picture centred along an axis where it is shorter than the view, else brought within
    // its scroll range (a new picture, a new window size, a zoom about the centre).
    void Settle();
    // Where the pointer is over the visible area; nothing when it is elsewhere.
    std::optional<QPoint> Pointer() const { return FPointer; }
    // The fractional cell (column, line) under a point of the visible area.
    QPointF CellAt(QPoint At) const;
    // Dragging with the left button pans too (not while the selection or a profile is drawn).
    void SetLeftButtonPans(bool Pans) { LeftPans = Pans; }
    // A line through points over the picture, in cells; none hides it.
    void SetOverlayLine(QPolygonF Cells);
    // A mark on the picture at a fractional cell (a profile's sample under the pointer).
    void SetMarker(std::optional<QPointF> Cell);
    // The cross of a cell gone to, at a fractional cell; nothing hides it.
    void SetGoneTo(std::optional<QPointF> Cell);
    // The scale bar in the view's lower left corner: its length in pixels and its caption.
    void SetScaleBar(std::optional<std::pair<double, QString>> Bar);
    // Scrolls the fractional cell Cell to the centre of the view, as near as the picture allows.
    void CentreOn(QPointF Cell);

  signals:
    // The pointer is over the visible area at this fractional cell, or has left it.
    void PointerMoved(QPointF Cell);
    void PointerLeft();
    // The picture moved, or changed, under a pointer that may not have moved.
    void PictureMoved();
    // A left click that did not pan.
    void Clicked(QPointF Cell);
    // The second click of a left double click, in place of its Clicked.
    void DoubleClicked(QPointF Cell);
    // Ctrl+wheel: Steps zooms in (positive) or out about a point of the visible area.
    void WheelZoom(int Steps, QPoint At);

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool viewportEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void scrollContentsBy(int Dx, int Dy) override;

  private:
    void UpdateScrollBars();
    // Scrolls to To, the scroll bars' ranges widened to reach it.
    void ScrollTo(QPoint To);
    QPoint Scrolled() const;

    // A picture and the cells it shows: from (Col, Row), PerPixel × PerPixel cells a pixel.
    struct TPlaced {
        const TBitmap* Bitmap = nullptr;
        int32_t Col = 0;
        int32_t Row = 0;
        int32_t PerPixel = 1;
    };
    void PaintPlaced(QPainter& Painter, const QRect& Area, const TPlaced& Placed) const;

    QSize Cells{0, 0};                                     // the map's, or the picture's
    std::vector<std::shared_ptr<const TBitmap>> ViewShown; // oldest first, two at most
    std::vector<TPlaced> Shown;                            // painted in this order
    double Scale = 1.0;
    bool FVisible = true;
    bool LeftPans = true;
    std::optional<QPoint> PanFrom; // where a pan drag was last
    bool Panned = false;           // the press became a drag
    QPolygonF Overlay;
    bool Doubled = false; // the button going up ends a double click
    std::optional<QPointF> Marker;
    std::optional<QPointF> GoneTo;
    std::optional<std::pair<double, QString>> ScaleBar;
    int WheelAngle = 0; // eighths of a degree not yet turned into zoom steps
    std::optional<QPoint> FPointer;
};

} // namespace talvo
