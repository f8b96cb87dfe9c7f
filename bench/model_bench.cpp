// Opening and saving a 10,000-element label and snapshotting 1,000 elements must each stay
// within 20 ms (median), so that editing never waits on the disk. Run from the build folder:
//   bench/model_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "etiqo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void Fill(Label& label, int count) {
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
            case 0:
                label.Append(MakeTextElement(i % 400, i % 600, "品名 Product " + std::to_string(i)));
                break;
            case 1:
                label.Append(MakeBarcodeElement(i % 400, i % 600, "ETQ-" + std::to_string(i)));
                break;
            case 2:
                label.Append(Make2DElement(i % 400, i % 600, "https://example.com/" + std::to_string(i)));
                break;
            default:
                label.Append(MakeShapeElement(i % 400, i % 600));
                break;
        }
    }
}

void BM_SaveLabel10000(benchmark::State& state) {
    ScratchFolder scratch;
    Label label(SnapshotStore(scratch.Path() / "undo"));
    Fill(label, 10000);
    const auto file = scratch.Path() / "big.lab";
    for (auto _ : state) {
        const auto status = SaveLabelFile(label, file);
        if (!status) {
            state.SkipWithError(status.error.c_str());
        }
    }
}

void BM_OpenLabel10000(benchmark::State& state) {
    ScratchFolder scratch;
    Label source(SnapshotStore(scratch.Path() / "undo"));
    Fill(source, 10000);
    const auto file = scratch.Path() / "big.lab";
    SaveLabelFile(source, file);
    Label label(SnapshotStore(scratch.Path() / "undo"));
    for (auto _ : state) {
        // Opening includes writing the base snapshot, as the designer does.
        const auto status = OpenLabelFile(label, file);
        if (!status) {
            state.SkipWithError(status.error.c_str());
        }
        benchmark::DoNotOptimize(label.m_elements.data());
    }
}

void BM_SaveSnapshot1000(benchmark::State& state) {
    ScratchFolder scratch;
    Label label(SnapshotStore(scratch.Path() / "undo"));
    Fill(label, 1000);
    for (auto _ : state) {
        label.SaveSnapshot();
    }
    state.counters["snapshots"] = label.m_nUndoMax;
}

BENCHMARK(BM_SaveLabel10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenLabel10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveSnapshot1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace etiqo

BENCHMARK_MAIN();
