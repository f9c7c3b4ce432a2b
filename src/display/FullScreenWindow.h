#pragma once

#include <QRect>
#include <QWidget>

namespace talvo {

// The window base of the display layer: it keeps its placement while it is shown full screen.
class TFullScreenWindow : public QWidget {
  public:
    explicit TFullScreenWindow(QWidget* Parent = nullptr) : QWidget(Parent) {}

  protected:
    void SavePlacement() { Saved = geometry(); }
    void RestorePlacement() {
        if (Saved.isValid()) {
            setGeometry(Saved);
        }
    }

  private:
    QRect Saved;
};

} // namespace talvo
