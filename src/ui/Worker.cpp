#include "ui/Worker.h"

namespace talvo {

TWorker::TWorker(QObject* Parent) : QObject(Parent) {}

TWorker::~TWorker() {
    Stop();
}

void TWorker::RunJob(std::function<std::function<void()>(TProgress&)> Job) {
    if (FRunning) {
        return;
    }
    if (Thread.joinable()) {
        Thread.join(); // the last job has ended already: its result was delivered
    }
    FRunning = true;
    FProgress = std::make_shared<TProgress>();
    Thread = std::jthread([this, Job = std::move(Job), Progress = FProgress, This = ++Jobs] {
        std::function<void()> Deliver = Job(*Progress);
        QMetaObject::invokeMethod(
            this,
            [this, This, Deliver = std::move(Deliver)] {
                if (This == Jobs) { // not stopped meanwhile
                    FRunning = false;
                    Deliver();
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
