#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Errors.h"

namespace talvo {

// How far a long piece of work has come, and whether whoever waits for it still wants it. The
// work may run on several threads at once; whoever waits reads Total() and Done() when it likes
// and may Cancel() at any moment, after which the work stops soon and returns nothing.
class TProgress {
  public:
    virtual ~TProgress() = default;

    void Start(int64_t Total) {
        FTotal = Total;
        FDone = 0;
        Changed();
    }
    void Advance(int64_t Amount) {
        FDone += Amount;
        Changed();
    }
    void Cancel() { FCancelled = true; }

    int64_t Total() const { return FTotal; }
    int64_t Done() const { return FDone; }
    bool Cancelled() const { return FCancelled; }
    // For work that has nothing to return once cancelled: raises ECancelled.
    void StopIfCancelled() const {
        if (FCancelled) {
            throw ECancelled();
        }
    }

  protected:
    // After every Start and Advance, on the thread that made it.
    virtual void Changed() {}

  private:
    std::atomic<int64_t> FTotal = 0;
    std::atomic<int64_t> FDone = 0;
    std::atomic<bool> FCancelled = false;
};

// A part of a longer piece of work that starts its own count: what it does is added to Whole's
// count, and a cancel of Whole stops it at its next step.
class TPartProgress final : public TProgress {
  public:
    explicit TPartProgress(TProgress& Whole) : Whole(Whole) {}

  protected:
    void Changed() override {
        if (Done() > Reported) {
            Whole.Advance(Done() - Reported);
        }
        Reported = Done();
        Whole.StopIfCancelled();
    }

  private:
    TProgress& Whole;
    int64_t Reported = 0;
};

} // namespace talvo
