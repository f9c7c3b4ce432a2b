// The main window with a 4800 × 6000 16-bit raster (a 30-arc-second tile, 28.8 million cells):
// the longest the event loop waits while the picture is drawn, the time from "Load..." to the
// picture shown, the resident memory at x1 and after scrolling across it at x8, and the readout's
// cost per mouse move. Then a raster too large to hold, read by window (TALVO_SPARSE_RASTER, made
// by bench/make-sparse-raster): the first picture after it is named, each zoom or pan redrawn in
// a 1125 × 750 view, and the resident memory after 20 of them. Needs a display:
// xvfb-run build/talvo_window_bench.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "QtBenchmarkMain.h"
#include "support/NumMapText.h"
#include "support/ScriptedDialogs.h"
#include "ui/MapWindow.h"

namespace {

constexpr int Cols = 4800;
constexpr int Rows = 6000;

// Resident memory in MiB, from the kernel's account of this process.
double ResidentMiB() {
    std::ifstream Status("/proc/self/status");
    std::string Word;
    while (Status >> Word) {
        if (Word == "VmRSS:") {
            double KiB = 0;
            Status >> KiB;
            return KiB / 1024;
        }
    }
    return 0;
}

// Hills in metres, as two bytes least significant first.
std::string BigRaster() {
    std::string Data(static_cast<size_t>(Cols) * Rows * 2, '\0');
    for (int R = 0; R < Rows; ++R) {
        for (int C = 0; C < Cols; ++C) {
            const int Metres = 200 + (R * 7 + C * 3) % 1000;
            const size_t At = 2 * (static_cast<size_t>(R) * Cols + static_cast<size_t>(C));
            Data[At] = static_cast<char>(Metres & 0xFF);
            Data[At + 1] = static_cast<char>(Metres >> 8);
        }
    }
    return Data;
}

void BM_WindowWithALargeRaster(benchmark::State& State) {
    const std::string Data = talvo::test::WriteTempFile("window.bil", BigRaster());
    talvo::test::WriteTempFile("window.hdr", "NBITS 16\nNCOLS 4800\nNROWS 6000\n");
    const std::string Ini = talvo::test::WriteTempFile(
        "window.ini", talvo::test::FileText(TALVO_SAMPLES_DIR "/jacksboro/Talvo.ini"));
    for (auto _ : State) {
        talvo::test::TScriptedDialogs Dialogs;
        talvo::TDocument Document({Ini, false}, "");
        talvo::TMapWindow Form(Document, Dialogs);
        Form.show();
        if (!QTest::qWaitForWindowExposed(&Form)) {
            State.SkipWithError("the window did not show");
            break;
        }

        // A timer that would tick every millisecond: the longest gap is the longest the window
        // could not answer.
        QElapsedTimer Clock;
        qint64 Last = 0, Longest = 0;
        QTimer Tick;
        QObject::connect(&Tick, &QTimer::timeout, [&] {
            Longest = std::max(Longest, Clock.elapsed() - Last);
            Last = Clock.elapsed();
        });
        Dialogs.OpenAnswers.push_back({Data});
        Clock.start();
        QTimer::singleShot(0, &Form, [&] { Form.btnLoad->click(); });
        Tick.start(1);
        if (!QTest::qWaitFor([&] { return Form.View().Picture() && !Form.Worker->Running(); },
                             60000)) {
            State.SkipWithError("no picture within a minute");
            break;
        }
        const qint64 FirstPicture = Clock.elapsed();
        Tick.stop();
        QTest::qWait(100);
        const double AtX1 = ResidentMiB();

        for (int I = 0; I < 3; ++I) {
            Form.spnMScaleUp->click();
        }
        QScrollBar* Across = Form.ScrollBox->horizontalScrollBar();
        QScrollBar* Down = Form.ScrollBox->verticalScrollBar();
        for (int Step = 0; Step <= 10; ++Step) {
            Across->setValue(Across->maximum() * Step / 10);
            Down->setValue(Down->maximum() * Step / 10);
            Form.ScrollBox->viewport()->repaint();
        }
        const double AtX8 = ResidentMiB();

        // The readout under the pointer: mouse moves across the picture at x8, each setting the
        // status bar's text, none redrawing the picture.
        QWidget* Picture = Form.ScrollBox->viewport();
        constexpr int Moves = 2000;
        QElapsedTimer Moving;
        Moving.start();
        for (int Move = 0; Move < Moves; ++Move) {
            const QPointF At(Move % Picture->width(), (Move * 7) % Picture->height());
            QMouseEvent Event(QEvent::MouseMove, At, Picture->mapToGlobal(At), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(Picture, &Event);
        }
        const double MoveMicroseconds = static_cast<double>(Moving.nsecsElapsed()) / 1000 / Moves;

        State.counters["longest_wait_ms"] = static_cast<double>(Longest);
        State.counters["first_picture_ms"] = static_cast<double>(FirstPicture);
        State.counters["rss_x1_MiB"] = AtX1;
        State.counters["rss_x8_MiB"] = AtX8;
        State.counters["readout_us_per_move"] = MoveMicroseconds;
    }
}
BENCHMARK(BM_WindowWithALargeRaster)->Iterations(1)->Unit(benchmark::kMillisecond);

// Waits until the view of the map read by window is drawn and painted; false after a minute.
bool ViewShown(talvo::TMapWindow& Form) {
    const bool Drawn = QTest::qWaitFor([&] { return !Form.ViewWorker->Running(); }, 60000);
    Form.ScrollBox->viewport()->repaint();
    return Drawn;
}

void BM_WindowWithASparseRaster(benchmark::State& State) {
    const char* Path = std::getenv("TALVO_SPARSE_RASTER");
    if (!Path) {
        State.SkipWithError("TALVO_SPARSE_RASTER names no raster (bench/make-sparse-raster)");
        return;
    }
    const std::string Ini = talvo::test::WriteTempFile(
        "sparse.ini", talvo::test::FileText(TALVO_SAMPLES_DIR "/jacksboro/Talvo.ini"));
    for (auto _ : State) {
        talvo::test::TScriptedDialogs Dialogs;
        talvo::TDocument Document({Ini, false}, "");
        talvo::TMapWindow Form(Document, Dialogs);
        Form.show();
        if (!QTest::qWaitForWindowExposed(&Form)) {
            State.SkipWithError("the window did not show");
            break;
        }
        // A picture area of 1125 × 750 pixels.
        for (int Try = 0; Try < 3; ++Try) {
            const QSize Missing = QSize(1125, 750) - Form.ScrollBox->viewport()->size();
            Form.resize(Form.size() + Missing);
            QTest::qWait(50);
        }
        Dialogs.OpenAnswers.push_back({Path});
        QElapsedTimer Clock;
        Clock.start();
        Form.btnLoad->click();
        if (!QTest::qWaitFor([&] { return !Form.Worker->Running() && Form.btnLoad->isEnabled(); },
                             60000) ||
            !ViewShown(Form)) {
            State.SkipWithError("no picture within a minute");
            break;
        }
        const qint64 FirstPicture = Clock.elapsed();

        // Zooms in about the centre, then pans of a view's width or height, each timed from the
        // event to the picture shown.
        std::vector<double> Moves;
        QScrollBar* Across = Form.ScrollBox->horizontalScrollBar();
        QScrollBar* Down = Form.ScrollBox->verticalScrollBar();
        for (int Move = 0; Move < 20; ++Move) {
            QElapsedTimer Timed;
            Timed.start();
            if (Move < 8) {
                Form.spnMScaleUp->click();
            } else if (Move % 2 == 0) {
                Across->setValue(Across->value() + 1125);
            } else {
                Down->setValue(Down->value() + 750);
            }
            if (!ViewShown(Form)) {
                State.SkipWithError("a view took more than a minute");
                break;
            }
            Moves.push_back(static_cast<double>(Timed.nsecsElapsed()) / 1e6);
        }
        if (Moves.size() < 20) {
            break;
        }
        std::sort(Moves.begin(), Moves.end());
        State.counters["first_picture_ms"] = static_cast<double>(FirstPicture);
        State.counters["move_median_ms"] = Moves[Moves.size() / 2];
        State.counters["move_longest_ms"] = Moves.back();
        State.counters["rss_after_moves_MiB"] = ResidentMiB();
        State.counters["zoom_after_moves"] = Form.View().Zoom();
    }
}
BENCHMARK(BM_WindowWithASparseRaster)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
