#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

// The main of a benchmark program whose benchmarks need windows: the application first.
inline int RunQtBenchmarks(int argc, char** argv) {
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
