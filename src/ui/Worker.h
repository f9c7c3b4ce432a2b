#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/Errors.h"
#include "platform/Progress.h"

namespace talvo {

// Runs the window's long work (opening a map, drawing its picture) on a worker thread, one job
// at a time, and hands its result to the window's thread, so that the window stays responsive.
// A job returns what it makes and holds what it reads: it writes into no window.
class TWorker : public QObject {
    Q_OBJECT

  public:
    explicit TWorker(QObject* Parent = nullptr);
    // Cancels a job that still runs and waits for it to stop.
    ~TWorker() override;

    // Starts Job; when it ends, Done gets its result on the window's thread: nothing when it was
    // cancelled or failed, with the failure's message in Error. Ignored while a job runs.
    template <typename TResult>
    void Run(std::function<TResult(TProgress&)> Job,
             std::function<void(std::optional<TResult> Result, const std::string& Error)> Done) {
        RunJob([Job = std::move(Job), Done = std::move(Done)](TProgress& Progress) {
            std::function<void()> Deliver;
            try {
                auto Result = std::make_shared<TResult>(Job(Progress));
                Deliver = [Done, Result] { Done(std::move(*Result), {}); };
            } catch (const ECancelled&) {
                Deliver = [Done] { Done(std::nullopt, {}); };
            } catch (const std::exception& Failure) {
                Deliver = [Done, Message = std::string(Failure.what())] {
                    Done(std::nullopt, Message);
                };
            }
            return Deliver;
        });
    }
    // From Run until Done has been called.
    bool Running() const { return FRunning; }
    // Asks the job to stop: Done follows soon.
    void Cancel();
    // Cancels and waits for the worker thread to end; Done is not called any more.
    void Stop();
    // How far the job has come, readable at any time.
    const TProgress& Progress() const { return *FProgress; }

  private:
    // Job runs on the thread and returns what the window's thread runs next.
    void RunJob(std::function<std::function<void()>(TProgress&)> Job);

    std::shared_ptr<TProgress> FProgress = std::make_shared<TProgress>();
    bool FRunning = false;
    // Counts the jobs started and stopped, so that a stopped one's result is not passed on.
    uint64_t Jobs = 0;
    std::jthread Thread;
};

} // namespace talvo
