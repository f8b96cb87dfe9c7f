// Print throughput against a private cupsd (scripts/cupsd-rig.sh) with a Zebra ZPL queue at 203 dpi.
// Each iteration runs `etiqo print label.lab --copies N --wait` (a 50 × 80 mm label, serialized
// text and barcode, a QR code: N different pages) until the queue has written the job. The
// comparison with gLabels' batch renderer is in data_bench, where both print from the same records.
#include <benchmark/benchmark.h>

#include "BenchRig.h"

namespace {

constexpr int kCopies = 100;  // the short run, with the scan check

using etiqo::bench::Run;

etiqo::bench::CupsRig& TheRig() {
    static etiqo::bench::CupsRig rig;
    return rig;
}

// `etiqo print` of serialized labels to the ZPL queue until it has written the job: argument 0 is the
// number of labels, argument 1 whether the scan check runs (every page decoded: each carries its own
// number). Target: the check costs at most half again the time.
void EtiqoPrintSerialized(benchmark::State& state) {
    if (!TheRig().ok()) {
        state.SkipWithError("the private cupsd did not start");
        return;
    }
    const QString file = etiqo::bench::SaveSerializedLabel(TheRig(), "zpl", 4);
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the label");
        return;
    }
    QStringList arguments{QStringLiteral("print"), file, QStringLiteral("--copies"),
                          QString::number(state.range(0)), QStringLiteral("--wait")};
    if (state.range(1) == 0) {
        arguments << QStringLiteral("--no-check");
    }
    for (auto _ : state) {
        bool ok = false;
        const QString output = Run(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"), arguments, &ok);
        if (!ok) {
            state.SkipWithError(output.toStdString().c_str());
            return;
        }
    }
    state.counters["labels/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(EtiqoPrintSerialized)
    ->Args({kCopies, 1})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
