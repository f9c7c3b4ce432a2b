#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/Progress.h"

namespace talvo {

// Runs the window's long work (opening a map, drawing its picture) on a worker thread, one job
// at a time, and tells the window's thread when it is done, so that the window stays responsive.
// A job keeps what it makes in the window's members, which the window reads after Finished.
class TWorker : public QObject {
    Q_OBJECT

  public:
    using TJob = std::function<void(TProgress& Progress)>;

    explicit TWorker(QObject* Parent = nullptr);
    // Cancels a job that still runs and waits for it.
    ~TWorker() override;

    // Starts Job. Ignored while a job runs.
    void Run(TJob Job);
    // From Run until Finished has been sent.
    bool Running() const { return FRunning; }
    // Asks the job to stop: Finished follows soon.
    void Cancel();
    // Cancels and waits for the worker thread to end; Finished is not sent any more.
    void Stop();
    // How far the job has come, readable at any time.
    const TProgress& Progress() const { return *FProgress; }
    // After Finished: why the job failed; empty when it did not.
    const std::string& Error() const { return FError; }

  signals:
    void Finished();

  private:
    std::unique_ptr<TProgress> FProgress = std::make_unique<TProgress>();
    std::string FError;
    bool FRunning = false;
    // Counts the jobs started and stopped, so that a stopped one's news is not passed on.
    uint64_t Jobs = 0;
    std::jthread Thread;
};

} // namespace talvo
