#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace talvo {

// What a batch tells as its tiles finish. On a terminal, one line on standard error redrawn in
// place: tiles done of the total, tiles per second and the time left. Otherwise one plain line per
// tile on standard output. Quiet: neither. A failed tile is always told on standard error, with
// why. Names and messages are shown Printable, so that no byte of a name moves the cursor or
// starts an escape sequence. Safe to call from the threads the tiles run on.
class TBatchReport {
  public:
    TBatchReport(std::ostream& Out, std::ostream& Err, bool Quiet, int64_t Total);

    void Written(const std::string& Input, const std::string& Output);
    void Kept(const std::string& Input, const std::string& Output);
    void Failed(const std::string& Input, const std::string& Why);
    // The counts of the run, after the last tile.
    void Finish();

  private:
    void Done(const std::string& Line);
    void DrawBar();
    void ClearBar();

    std::ostream& Out;
    std::ostream& Err;
    bool Quiet;
    bool Bar;
    int64_t Total;
    int64_t WrittenCount = 0;
    int64_t KeptCount = 0;
    int64_t FailedCount = 0;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point LastDrawn{};
    std::mutex Mutex;
};

} // namespace talvo
