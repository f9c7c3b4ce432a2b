#include "ui/MapDrawing.h"

#include "render/MapPicture.h"

namespace talvo {

TMapDrawing::TMapDrawing(QObject* Parent) : QObject(Parent) {}

TMapDrawing::~TMapDrawing() {
    Stop();
}

void TMapDrawing::Start(const MapState& Map, const TIni& Settings,
                        const THeightColourTable& Table) {
    if (FRunning) {
        return;
    }
    if (Worker.joinable()) {
        Worker.join(); // the last drawing has ended already: Finished was sent
    }
    FRunning = true;
    FError.clear();
    Picture.reset();
    FProgress = std::make_unique<TProgress>();
    Worker = std::jthread(
        [this, &Map, Settings, Table, Progress = FProgress.get(), Drawing = ++Drawings] {
            try {
                Picture = DrawMapPicture(Map, Settings, Table, Settings.GmpChk, *Progress);
            } catch (const std::exception& Failure) {
                FError = Failure.what();
            }
            // Picture and FError are read only after this, on the window's thread.
            QMetaObject::invokeMethod(
                this,
                [this, Drawing] {
                    if (Drawing == Drawings) { // not stopped meanwhile
                        FRunning = false;
                        emit Finished();
                    }
                },
                Qt::QueuedConnection);
        });
}

void TMapDrawing::Cancel() {
    FProgress->Cancel();
}

void TMapDrawing::Stop() {
    ++Drawings;
    Cancel();
    if (Worker.joinable()) {
        Worker.join();
    }
    FRunning = false;
}

} // namespace talvo
