#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace talvo {

// The frame timer: a tick every Interval milliseconds while the application is active, and
// the frame rate of the last second or more.
class TFrameTimer : public QObject {
    Q_OBJECT

  public:
    explicit TFrameTimer(QObject* Parent = nullptr);

    void SetEnabled(bool Enabled);
    bool Enabled() const { return Timer.isActive(); }
    // Ticks per second, renewed whenever at least 1000 ms have passed since the last renewal.
    int FrameRate() const { return Rate; }

    std::function<void()> OnTimer;

  private:
    void Tick();

    QTimer Timer;
    QElapsedTimer Since;
    int Ticks = 0;
    int Rate = 0;
};

} // namespace talvo
