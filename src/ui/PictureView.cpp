#include "ui/PictureView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/MapViewRules.h"
#include "model/ViewPlacement.h"

namespace talvo {

namespace {

// Pixels an arrow key pans.
constexpr int PanStep = 32;
// The view's pictures kept on show: the newest and the one before it.
constexpr size_t ViewPicturesKept = 2;

} // namespace

TPictureView::TPictureView(QWidget* Parent) : QAbstractScrollArea(Parent) {
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true); // the readout follows the pointer without a button
    setFocusPolicy(Qt::StrongFocus);    // arrows pan once the picture has been clicked
    // A picture scrolled back from beyond its usual range does not go there again.
    for (QScrollBar* Bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(Bar, &QScrollBar::valueChanged, this, &TPictureView::UpdateScrollBars);
    }
}

QPoint TPictureView::Scrolled() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPointF TPictureView::CellAt(QPoint At) const {
    return QPointF(At + Scrolled()) / Scale;
}

void TPictureView::ZoomAbout(double MScale, QPoint Anchor) {
    const QPointF Cell = CellAt(Anchor);
    Scale = MScale;
    ScrollTo({ScrollKeeping(Cell.x(), Cells.width(), Scale, Anchor.x()),
              ScrollKeeping(Cell.y(), Cells.height(), Scale, Anchor.y())});
    viewport()->update();
    emit PictureMoved();
}

void TPictureView::Settle() {
    const QSize Shown = ShownSize();
    const QSize Visible = viewport()->size();
    ScrollTo({SettledScroll(Shown.width(), Visible.width(), horizontalScrollBar()->value()),
              SettledScroll(Shown.height(), Visible.height(), verticalScrollBar()->value())});
}

void TPictureView::ScrollTo(QPoint To) {
    const QSize Shown = ShownSize();
    const QSize Visible = viewport()->size();
    // Each bar's range is set just before its value: a value set redraws the other's range.
    const TScrollLimits Across = ScrollLimits(Shown.width(), Visible.width(), To.x());
    horizontalScrollBar()->setRange(Across.Min, Across.Max);
    horizontalScrollBar()->setValue(To.x());
    const TScrollLimits Down = ScrollLimits(Shown.height(), Visible.height(), To.y());
    verticalScrollBar()->setRange(Down.Min, Down.Max);
    verticalScrollBar()->setValue(To.y());
}

void TPictureView::SetOverlayLine(QPolygonF Cells) {
    Overlay = std::move(Cells);
    viewport()->update();
}

void TPictureView::SetMarker(std::optional<QPointF> Cell) {
    Marker = Cell;
    viewport()->update();
}

void TPictureView::SetGoneTo(std::optional<QPointF> Cell) {
    GoneTo = Cell;
    viewport()->update();
}

void TPictureView::SetScaleBar(std::optional<std::pair<double, QString>> Bar) {
    if (Bar != ScaleBar) {
        ScaleBar = std::move(Bar);
        viewport()->update();
    }
}

void TPictureView::CentreOn(QPointF Cell) {
    const QPointF Centre = QRectF(viewport()->rect()).center();
    ScrollTo((Cell * Scale - Centre).toPoint());
    Settle();
}

bool TPictureView::viewportEvent(QEvent* Event) {
    if (Event->type() == QEvent::Leave) {
        FPointer.reset();
        emit PointerLeft();
    }
    return QAbstractScrollArea::viewportEvent(Event);
}

void TPictureView::mousePressEvent(QMouseEvent* Event) {
    Panned = false;
    if (Event->button() == Qt::MiddleButton || (Event->button() == Qt::LeftButton && LeftPans)) {
        PanFrom = Event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
}

void TPictureView::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint At = Event->position().toPoint();
    if (PanFrom && (Event->buttons() & (Qt::LeftButton | Qt::MiddleButton))) {
        const QPoint Moved = At - *PanFrom;
        Panned = Panned || Moved.manhattanLength() > 2;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - Moved.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - Moved.y());
        PanFrom = At;
    }
    FPointer = At;
    emit PointerMoved(CellAt(At));
}

void TPictureView::mouseReleaseEvent(QMouseEvent* Event) {
    viewport()->unsetCursor();
    const bool Click = Event->button() == Qt::LeftButton && !Panned;
    PanFrom.reset();
    Panned = false;
    const bool Double = std::exchange(Doubled, false);
    if (Click) {
        const QPointF Cell = CellAt(Event->position().toPoint());
        Double ? emit DoubleClicked(Cell) : emit Clicked(Cell);
    }
}

void TPictureView::mouseDoubleClickEvent(QMouseEvent* Event) {
    mousePressEvent(Event);
    Doubled = Event->button() == Qt::LeftButton;
}

void TPictureView::wheelEvent(QWheelEvent* Event) {
    if (!(Event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(Event); // a plain wheel scrolls
        return;
    }
    // One notch is 120 eighths of a degree; touchpads send less at a time.
    WheelAngle += Event->angleDelta().y();
    const int Steps = WheelAngle / 120;
    WheelAngle -= Steps * 120;
    if (Steps != 0) {
        emit WheelZoom(Steps, Event->position().toPoint());
    }
    Event->accept();
}

void TPictureView::SetPicture(const TBitmap* Picture) {
    Cells = Picture ? QSize(Picture->Width(), Picture->Height()) : QSize(0, 0);
    ViewShown.clear();
    Shown.clear();
    if (Picture) {
        Shown.push_back({Picture});
    }
    Settle();
    viewport()->update();
    emit PictureMoved();
}

void TPictureView::SetWindowedMap(QSize Cells) {
    SetPicture(nullptr);
    this->Cells = Cells;
    Settle();
}

void TPictureView::ShowViewPicture(std::shared_ptr<const TBitmap> Picture,
                                   const TViewRequest& Request) {
    if (ViewShown.size() == ViewPicturesKept) {
        ViewShown.erase(ViewShown.begin());
        Shown.erase(Shown.begin());
    }
    Shown.push_back({Picture.get(), Request.Window.Col, Request.Window.Row, Request.CellsPerPixel});
    ViewShown.push_back(std::move(Picture));
    viewport()->update();
    emit PictureMoved();
}

TViewArea TPictureView::Area() const {
    const QPoint At = Scrolled();
    return {Scale, At.x(), At.y(), viewport()->width(), viewport()->height()};
}

void TPictureView::SetScale(double MScale) {
    if (MScale != Scale) {
        ZoomAbout(MScale, viewport()->rect().center());
        // Zoomed out below the area's size, the picture is centred in it.
        Settle();
    }
}

void TPictureView::SetPictureVisible(bool Visible) {
    FVisible = Visible;
    viewport()->update();
    emit PictureMoved();
}

void TPictureView::scrollContentsBy(int, int) {
    viewport()->update();
    emit PictureMoved();
}

QSize TPictureView::ShownSize() const {
    return {ZoomedLength(Cells.width(), Scale), ZoomedLength(Cells.height(), Scale)};
}

void TPictureView::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    UpdateScrollBars();
}

void TPictureView::UpdateScrollBars() {
    const QSize Shown = ShownSize();
    const QSize Visible = viewport()->size();
    const TScrollLimits Across =
        ScrollLimits(Shown.width(), Visible.width(), horizontalScrollBar()->value());
    const TScrollLimits Down =
        ScrollLimits(Shown.height(), Visible.height(), verticalScrollBar()->value());
    horizontalScrollBar()->setRange(Across.Min, Across.Max);
    horizontalScrollBar()->setPageStep(Visible.width());
    horizontalScrollBar()->setSingleStep(PanStep);
    verticalScrollBar()->setRange(Down.Min, Down.Max);
    verticalScrollBar()->setPageStep(Visible.height());
    verticalScrollBar()->setSingleStep(PanStep);
}

void TPictureView::PaintPlaced(QPainter& Painter, const QRect& Area, const TPlaced& Placed) const {
    const QPoint Scrolled = this->Scrolled();
    const int32_t Width = Placed.Bitmap->Width();
    const int32_t Height = Placed.Bitmap->Height();
    // The picture's cells at the zoom, in pixels of the visible area.
    auto Edge = [this](int64_t Cell, int Scroll) {
        return static_cast<int>(std::floor(static_cast<double>(Cell) * Scale)) - Scroll;
    };
    const QRect Covered(QPoint(Edge(Placed.Col, Scrolled.x()), Edge(Placed.Row, Scrolled.y())),
                        QPoint(Edge(Placed.Col + int64_t{Width} * Placed.PerPixel, Scrolled.x()),
                               Edge(Placed.Row + int64_t{Height} * Placed.PerPixel, Scrolled.y())) -
                            QPoint(1, 1));
    const QRect Target = Area.intersected(Covered);
    if (Target.isEmpty()) {
        return;
    }
    // The picture's pixel under each pixel: zoom factors are powers of two, so the divisions are
    // exact.
    auto Pixel = [this, &Placed](int Shown, int32_t First, int32_t Pixels) {
        const double Cell = std::floor(Shown / Scale);
        return std::clamp(static_cast<int32_t>(std::floor((Cell - First) / Placed.PerPixel)), 0,
                          Pixels - 1);
    };
    std::vector<int32_t> Columns(static_cast<size_t>(Target.width()));
    for (int X = 0; X < Target.width(); ++X) {
        Columns[static_cast<size_t>(X)] =
            Pixel(Target.left() + X + Scrolled.x(), Placed.Col, Width);
    }
    QImage Part(Target.size(), QImage::Format_RGB32);
    for (int Y = 0; Y < Target.height(); ++Y) {
        const int32_t* Pixels =
            Placed.Bitmap->Row(Pixel(Target.top() + Y + Scrolled.y(), Placed.Row, Height));
        auto* Out = reinterpret_cast<QRgb*>(Part.scanLine(Y));
        for (int X = 0; X < Target.width(); ++X) {
            const int32_t Colour = Pixels[Columns[static_cast<size_t>(X)]];
            // Colour values hold red in the low byte; Qt wants it above green.
            Out[X] = qRgb(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
        }
    }
    Painter.drawImage(Target.topLeft(), Part);
}

void TPictureView::paintEvent(QPaintEvent* Event) {
    QPainter Painter(viewport());
    Painter.fillRect(Event->rect(), palette().window());
    if (Shown.empty() || !FVisible) {
        return;
    }
    const QPoint Scrolled = this->Scrolled();
    const QRect Area =
        Event->rect().intersected(QRect(-Scrolled, ShownSize())); // viewport coordinates
    if (Area.isEmpty()) {
        return;
    }
    for (const TPlaced& Placed : Shown) {
        PaintPlaced(Painter, Area, Placed);
    }
    if (!Overlay.isEmpty()) {
        Painter.setPen(QPen(Qt::black, 2)); // apart from the layers' colours
        const QPointF Offset(Scrolled);
        QPolygonF Shown;
        for (const QPointF& Cell : Overlay) {
            Shown << Cell * Scale - Offset;
        }
        Painter.drawPolyline(Shown);
        if (Marker) {
            Painter.setBrush(Qt::white);
            Painter.drawEllipse(*Marker * Scale - Offset, 4, 4);
        }
    }
    if (ScaleBar) {
        // A bar with end ticks and its length above, in black on white: seen over any colour.
        const QPointF Left(10, viewport()->height() - 12);
        const QPointF Right = Left + QPointF(ScaleBar->first, 0);
        for (const auto& [Colour, Width] : {std::pair{Qt::white, 5}, std::pair{Qt::black, 2}}) {
            Painter.setPen(QPen(Colour, Width, Qt::SolidLine, Qt::FlatCap));
            Painter.drawLine(Left, Right);
            Painter.drawLine(Left, Left - QPointF(0, 6));
            Painter.drawLine(Right, Right - QPointF(0, 6));
        }
        QPainterPath Caption;
        Caption.addText(Left + QPointF(0, -10), font(), ScaleBar->second);
        Painter.strokePath(Caption, QPen(Qt::white, 3));
        Painter.fillPath(Caption, Qt::black);
    }
    if (GoneTo) {
        // A cross ringed in white, seen over any colour.
        const QPointF At = *GoneTo * Scale - QPointF(Scrolled);
        for (const auto& [Colour, Width] : {std::pair{Qt::white, 4}, std::pair{Qt::black, 2}}) {
            Painter.setPen(QPen(Colour, Width));
            Painter.drawLine(At - QPointF(8, 0), At + QPointF(8, 0));
            Painter.drawLine(At - QPointF(0, 8), At + QPointF(0, 8));
        }
    }
}

} // namespace talvo
