#pragma once

#include <QWidget>

namespace talvo {

// What the user may do with the selection rectangle.
enum class TSelOption { ResizeX = 1, ResizeY = 2, MoveX = 4, MoveY = 8 };

// The selection rectangle over the picture: a hollow frame whose bounds the main window sets
// and reads. Its limits keep it over the shown picture.
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
    int SelOption = 15; // every TSelOption

  protected:
    void paintEvent(QPaintEvent* Event) override;
};

} // namespace talvo
