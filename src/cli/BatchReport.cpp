#include "cli/BatchReport.h"

#include <cstdio>
#include <unistd.h>

#include "platform/Messages.h"

namespace talvo {

namespace {

// Redrawing the bar more often than this costs more than it tells.
constexpr std::chrono::milliseconds BarInterval{100};

std::string Clock(double Seconds) {
    const auto Whole = static_cast<int64_t>(Seconds + 0.5);
    char Text[32];
    if (Whole >= 3600) {
        std::snprintf(Text, sizeof Text, "%lld:%02lld:%02lld", static_cast<long long>(Whole / 3600),
                      static_cast<long long>(Whole / 60 % 60), static_cast<long long>(Whole % 60));
    } else {
        std::snprintf(Text, sizeof Text, "%lld:%02lld", static_cast<long long>(Whole / 60),
                      static_cast<long long>(Whole % 60));
    }
    return Text;
}

} // namespace

TBatchReport::TBatchReport(std::ostream& Out, std::ostream& Err, bool Quiet, int64_t Total)
    : Out(Out), Err(Err), Quiet(Quiet), Bar(!Quiet && ::isatty(STDERR_FILENO)), Total(Total) {}

void TBatchReport::Written(const std::string& Input, const std::string& Output) {
    std::lock_guard Lock(Mutex);
    ++WrittenCount;
    Done(Text(TText::TileWritten, {Printable(Input), Printable(Output)}));
}

void TBatchReport::Kept(const std::string& Input, const std::string& Output) {
    std::lock_guard Lock(Mutex);
    ++KeptCount;
    Done(Text(TText::TileSkipped, {Printable(Input), Printable(Output)}));
}

void TBatchReport::Failed(const std::string& Input, const std::string& Why) {
    std::lock_guard Lock(Mutex);
    ++FailedCount;
    ClearBar();
    Err << Text(TText::TileFailed, {Printable(Input)}) << '\n'
        << TerminalText(Why) << '\n'
        << std::flush;
    Done("");
}

void TBatchReport::Done(const std::string& Line) {
    if (Bar) {
        DrawBar();
    } else if (!Quiet && !Line.empty()) {
        Out << Line << '\n' << std::flush;
    }
}

void TBatchReport::DrawBar() {
    const auto Now = std::chrono::steady_clock::now();
    const int64_t Finished = WrittenCount + KeptCount + FailedCount;
    if (Now - LastDrawn < BarInterval && Finished < Total) {
        return;
    }
    LastDrawn = Now;
    const double Seconds = std::chrono::duration<double>(Now - Start).count();
    const double Rate = Seconds > 0 ? static_cast<double>(Finished) / Seconds : 0.0;
    constexpr int Width = 24;
    const int Filled = Total > 0 ? static_cast<int>(Finished * Width / Total) : Width;
    char RateText[32];
    std::snprintf(RateText, sizeof RateText, "%.1f", Rate);
    const std::string Left =
        Rate > 0 ? Clock(static_cast<double>(Total - Finished) / Rate) : std::string("?");
    Err << "\r[" << std::string(static_cast<size_t>(Filled), '#')
        << std::string(static_cast<size_t>(Width - Filled), '.') << "] "
        << Text(TText::BatchProgress,
                {std::to_string(Finished), std::to_string(Total), RateText, Left})
        << "\x1b[K" << std::flush;
}

void TBatchReport::ClearBar() {
    if (Bar) {
        Err << "\r\x1b[K" << std::flush;
        LastDrawn = {};
    }
}

void TBatchReport::Finish() {
    std::lock_guard Lock(Mutex);
    const std::string Summary =
        Text(TText::BatchSummary, {std::to_string(Total), std::to_string(WrittenCount),
                                   std::to_string(KeptCount), std::to_string(FailedCount)});
    if (Bar) {
        ClearBar();
        Err << Summary << '\n';
    } else if (!Quiet) {
        Out << Summary << '\n';
    }
}

} // namespace talvo
