#include "ui/Worker.h"

namespace talvo {

TWorker::TWorker(QObject* Parent) : QObject(Parent) {}

TWorker::~TWorker() {
    Stop();
}

void TWorker::Run(TJob Job) {
    if (FRunning) {
        return;
    }
    if (Thread.joinable()) {
        Thread.join(); // the last job has ended already: Finished was sent
    }
    FRunning = true;
    FError.clear();
    FProgress = std::make_unique<TProgress>();
    Thread = std::jthread([this, Job = std::move(Job), Progress = FProgress.get(), This = ++Jobs] {
        try {
            Job(*Progress);
        } catch (const std::exception& Failure) {
            FError = Failure.what();
        }
        // What the job made and FError are read only after this, on the window's thread.
        QMetaObject::invokeMethod(
            this,
            [this, This] {
                if (This == Jobs) { // not stopped meanwhile
                    FRunning = false;
                    emit Finished();
                }
            },
            Qt::QueuedConnection);
    });
}

void TWorker::Cancel() {
    FProgress->Cancel();
}

void TWorker::Stop() {
    ++Jobs;
    Cancel();
    if (Thread.joinable()) {
        Thread.join();
    }
    FRunning = false;
}

} // namespace talvo
