#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

// What benchmarks keep across runs and must let go while the application still stands: windows
// made once and shared.
inline std::vector<std::function<void()>>& BeforeTheApplicationEnds() {
    static std::vector<std::function<void()>> Releases;
    return Releases;
}

// The main of a benchmark program whose benchmarks need windows: the application first, and
// last.
inline int RunQtBenchmarks(int argc, char** argv) {
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::function<void()>& Release : BeforeTheApplicationEnds()) {
        Release();
    }
    return 0;
}
