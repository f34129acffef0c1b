#pragma once

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

namespace ai::bench {

// The body of a window benchmark's main: the benchmarks run with Qt on the offscreen
// platform, and `release` frees what they kept of the windows while the QApplication that
// those windows need still lives.
inline int runOffscreen(int argc, char* argv[], void (*release)() = nullptr)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (release)
        release();
    return 0;
}

} // namespace ai::bench
