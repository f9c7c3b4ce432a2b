#include "display/FrameTimer.h"

#include <QGuiApplication>
#include <cmath>

namespace talvo {

TFrameTimer::TFrameTimer(QObject* Parent) : QObject(Parent) {
    Timer.setInterval(10);
    connect(&Timer, &QTimer::timeout, this, [this] { Tick(); });
}

void TFrameTimer::SetEnabled(bool Enabled) {
    if (Enabled) {
        Ticks = 0;
        Since.start();
        Timer.start();
    } else {
        Timer.stop();
    }
}

void TFrameTimer::Tick() {
    // Only while the application is in front, as a game loop would.
    if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
        return;
    }
    ++Ticks;
    if (Since.elapsed() >= 1000) {
        Rate = static_cast<int>(std::lround(Ticks * 1000.0 / static_cast<double>(Since.elapsed())));
        Ticks = 0;
        Since.restart();
    }
    if (OnTimer) {
        OnTimer();
    }
}

} // namespace talvo
