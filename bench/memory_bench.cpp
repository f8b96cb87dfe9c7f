// Peak resident memory of `etiqo render` child processes (wait4's rusage) for every file of the
// hostile corpus (with tests/hostile/memory: 120 page-sized Code 128s, 60 page-sized QR codes) and
// one picture under eight spellings, at the resolutions the command takes. `peak_MB` is the
// largest child; the README's bound (1 GB) is what it must stay under.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"

extern char** environ;

namespace etiqo {
namespace {

namespace fs = std::filesystem;

QTemporaryDir* g_dir = nullptr;

struct Run {
    double peakMB = -1;
    int status = -1;
};

Run RenderForPeak(const std::string& label, const std::string& output, const std::string& dpi) {
    std::vector<std::string> arguments = {
        ETIQO_BINARY_DIR "/src/app/etiqo", "render", label, "-o", output, "--dpi", dpi};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);  // warnings are expected
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KB
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::string Folder() {
    return g_dir->path().toStdString();
}

// A 1000 × 1000 mm label (the largest a file may name) holding elements.
std::string WriteLabel(const std::string& name, const std::vector<Element>& elements) {
    Label label(SnapshotStore(fs::path(Folder()) / "snapshots"));
    label.SetLabelSize(1000, 1000);
    for (const Element& e : elements) {
        label.Append(e);
    }
    const std::string file = Folder() + "/" + name;
    SaveLabelFile(label, file);
    return file;
}

// Barcodes or QR codes, each over the whole page: every one asks for a page-sized bitmap.
std::vector<Element> LargeSymbols(bool qr, int count) {
    std::vector<Element> elements;
    for (int i = 0; i < count; ++i) {
        const std::string content = (qr ? std::string(600, 'Q') : std::string("ETIQO-")) + std::to_string(i);
        Element e = qr ? Make2DElement(0, 0, content) : MakeBarcodeElement(0, 0, content);
        e.nWidth = 7900;
        e.nHeight = 7900;
        e.bSelected = 0;
        elements.push_back(e);
    }
    return elements;
}

// One 8000 × 8000 picture named by eight spellings of its path.
std::vector<Element> PictureSpellings() {
    const fs::path folder = fs::path(Folder()) / "pictures";
    fs::create_directories(folder);
    const std::string path = (folder / "big.png").string();
    if (!fs::exists(path)) {
        QImage image(8000, 8000, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QImageWriter(QString::fromStdString(path)).write(image);
    }
    std::vector<Element> elements;
    const std::string base = folder.string();
    for (const std::string& spelling :
         {base + "/big.png", base + "/./big.png", base + "//big.png", base + "/../pictures/big.png",
          base + "/././big.png", base + "/.//big.png", base + "///big.png",
          base + "/./../pictures/big.png"}) {
        if (auto e = MakePictureElement(0, 0, spelling, 8000, 8000)) {
            e->nWidth = 7900;
            e->nHeight = 7900;
            e->bSelected = 0;
            elements.push_back(*e);
        }
    }
    return elements;
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const char* sub : {"tests/hostile/findings", "tests/hostile/memory"}) {
        const fs::path folder = fs::path(ETIQO_SOURCE_DIR) / sub;
        if (fs::is_directory(folder)) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Renders each label to PNG and to PDF at 203 dpi and at the largest resolution the command takes;
// the largest peak is reported (pages over the limit are refused, which is part of the bound).
void Measure(benchmark::State& state, const std::vector<std::string>& labels) {
    double peak = 0;
    int refused = 0;
    for (auto _ : state) {
        for (const std::string& label : labels) {
            for (const char* output : {"/out.png", "/out.pdf"}) {
                for (const char* dpi : {"203", "600", "100000"}) {
                    const Run run = RenderForPeak(label, Folder() + output, dpi);
                    if (run.peakMB < 0 || run.status > 2) {
                        state.SkipWithError(("etiqo render crashed on " + label).c_str());
                        return;
                    }
                    refused += run.status != 0;
                    peak = std::max(peak, run.peakMB);
                }
            }
        }
    }
    state.counters["peak_MB"] = peak;
    state.counters["labels"] = static_cast<double>(labels.size());
    state.counters["refused"] = refused;
}

void BM_PictureSpellings8(benchmark::State& state) {
    Measure(state, {WriteLabel("pictures.lab", PictureSpellings())});
}
BENCHMARK(BM_PictureSpellings8)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_HostileCorpus(benchmark::State& state) {
    Measure(state, CorpusFiles());
}
BENCHMARK(BM_HostileCorpus)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace etiqo

int main(int argc, char** argv) {
    // --write-corpus: the labels that need no picture, as kept in tests/hostile/memory.
    const bool writeCorpus = argc == 2 && std::strcmp(argv[1], "--write-corpus") == 0;
    return etiqo::bench::RunBenchmarks<QGuiApplication>(
        argc, argv, etiqo::g_dir, [writeCorpus]() -> std::optional<int> {
            if (!writeCorpus) {
                return std::nullopt;
            }
            const std::filesystem::path memory =
                std::filesystem::path(ETIQO_SOURCE_DIR) / "tests/hostile/memory";
            std::filesystem::create_directories(memory);
            for (const auto& [name, qr, count] :
                 {std::tuple{"code128-120-large.lab", false, 120}, std::tuple{"qr-60-large.lab", true, 60}}) {
                std::filesystem::copy_file(etiqo::WriteLabel(name, etiqo::LargeSymbols(qr, count)),
                                           memory / name, std::filesystem::copy_options::overwrite_existing);
            }
            return 0;
        });
}
