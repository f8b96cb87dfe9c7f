// The scan check of one printed page: a 50 × 80 mm label at 203 dpi with a Code 128, a QR code and
// a Data Matrix, rendered as the print job renders it. Target: under 10 ms a page decoded afresh.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include <memory>

#include "check/LabelChecker.h"
#include "model/ElementFactory.h"
#include "print/DrawLabel.h"
#include "print/LabelPage.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace {

struct Page {
    etiqo::Label label;
    etiqo::SymbolCache symbols;
    std::vector<etiqo::DrawnElement> drawn;
    QImage image;

    Page() {
        label.SetLabelSize(50, 80);
        etiqo::Element barcode = etiqo::MakeBarcodeElement(20, 20, "LOT-A-000123");
        barcode.nWidth = 340;
        barcode.nHeight = 120;
        label.Append(barcode);
        etiqo::Element qr = etiqo::Make2DElement(20, 200, "https://etiqo.example/lot/A-000123");
        qr.nWidth = 160;
        label.Append(qr);
        etiqo::Element matrix = etiqo::Make2DElement(220, 200, "A-000123 2026-12-06");
        matrix.nSymbology = 71;
        matrix.nWidth = 120;
        label.Append(matrix);
        QImage screen(10, 10, QImage::Format_RGB32);
        QPainter painter(&screen);
        const etiqo::RenderContext context{painter, symbols, {1, 1}, false, {1, 1}, {}};
        for (etiqo::ElementPtr& e : label.m_elements) {
            e->bSelected = 0;
            etiqo::PrepareForOutput(context, *e);
        }
        drawn = etiqo::DrawnElements(label.m_elements);
        bool moved = false;
        image = etiqo::RenderLabelPage(
            label,
            [this](QPainter& p, etiqo::Label& l) {
                return etiqo::DrawLabel(p, l, symbols, {1, 1});
            },
            moved);
    }
};

Page& ThePage() {
    static Page page;
    return page;
}

void CheckPageDecodedAfresh(benchmark::State& state) {
    Page& page = ThePage();
    for (auto _ : state) {
        etiqo::LabelChecker checker;  // nothing cached
        const etiqo::PageCheck check = checker.CheckPage(page.image, page.drawn);
        if (check.Fails() || check.elements.size() != 3) {
            state.SkipWithError("the benchmark label does not check right");
            return;
        }
        benchmark::DoNotOptimize(check);
    }
    state.counters["pages/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CheckPageDecodedAfresh)->Unit(benchmark::kMillisecond);

void CheckPageUnchanged(benchmark::State& state) {
    Page& page = ThePage();
    etiqo::LabelChecker checker;
    checker.CheckPage(page.image, page.drawn);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker.CheckPage(page.image, page.drawn));
    }
}
BENCHMARK(CheckPageUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
