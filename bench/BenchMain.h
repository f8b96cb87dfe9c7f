#pragma once
// The main program of a benchmark that needs Qt and a folder of its own for the files it makes.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace etiqo::bench {

// Runs the benchmarks the command line selects with a Qt application of type Application on the
// offscreen platform; folder points at a temporary folder meanwhile. before (when given) runs
// first: a status from it ends the program there. after runs at the end either way.
template <typename Application>
int RunBenchmarks(int argc, char** argv, QTemporaryDir*& folder,
                  const std::function<std::optional<int>()>& before = {},
                  const std::function<void()>& after = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QTemporaryDir dir;
    folder = &dir;
    const std::optional<int> status = before ? before() : std::nullopt;
    if (!status) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    if (after) {
        after();
    }
    folder = nullptr;
    return status.value_or(0);
}

}  // namespace etiqo::bench
