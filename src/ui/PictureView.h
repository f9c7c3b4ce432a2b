#pragma once

#include <QAbstractScrollArea>
#include <QSize>

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

  protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

  private:
    void UpdateScrollBars();

    const TBitmap* Picture = nullptr;
    double Scale = 1.0;
    bool FVisible = true;
};

} // namespace talvo
