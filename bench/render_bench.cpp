// 50 × 80 mm at 203 dpi: a serialized text, a serialized Code 128, a QR code, a rectangle and a
// picture, output as a printer gets it; and one screen paint of a 500-element label.
// The command-line runs (`etiqo render --copies N` to one PDF) report the process's peak memory,
// which must stay flat as N grows.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include "BenchProcess.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "print/DrawLabel.h"
#include "print/LabelPage.h"
#include "print/LabelPdfPages.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo {
namespace {

QTemporaryDir* g_dir = nullptr;

Label TypicalLabel(SymbolCache& symbols) {
    Label label;
    Element text = MakeTextElement(20, 20, "Batch A-000001");
    text.nWidth = 300;
    text.nHeight = 40;
    text.nSerialMode = kSerialIncrement;
    label.Append(text);
    Element barcode = MakeBarcodeElement(20, 80, "A-000001");
    barcode.nSerialMode = kSerialIncrement;
    label.Append(barcode);
    Element qr = Make2DElement(20, 200, "https://etiqo.example/A-000001");
    qr.nWidth = 160;
    label.Append(qr);
    Element box = MakeShapeElement(10, 10);
    box.nWidth = 380;
    box.nHeight = 600;
    label.Append(box);
    const QString picture = g_dir->filePath(QStringLiteral("logo.png"));
    QImage logo(120, 60, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter(&logo).fillRect(10, 10, 100, 40, Qt::black);
    logo.save(picture);
    Element image = *MakePictureElement(220, 220, picture.toStdString(), 120, 60);
    label.Append(image);
    for (const ElementPtr& e : label.m_elements) {
        e->bSelected = 0;
    }
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const RenderContext screen{painter, symbols, {0.94, 0.94}, false, {0.94, 0.94}, {}};
    for (const ElementPtr& e : label.m_elements) {
        PrepareForOutput(screen, *e);
    }
    return label;
}

void BM_RasterLabels(benchmark::State& state) {
    SymbolCache symbols;
    Label label = TypicalLabel(symbols);
    QImage page(LabelSizeInDots(label), QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        DrawLabel(painter, label, symbols, {0.94, 0.94});
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RasterLabels)->Unit(benchmark::kMicrosecond);

void BM_PngLabels(benchmark::State& state) {
    SymbolCache symbols;
    Label label = TypicalLabel(symbols);
    const LabelPainter draw = [&](QPainter& painter, Label& l) {
        return DrawLabel(painter, l, symbols, {1, 1});
    };
    const QString file = g_dir->filePath(QStringLiteral("page.png"));
    for (auto _ : state) {
        bool moved = false;
        const QImage page = RenderLabelPage(label, draw, moved);
        QImageWriter writer(file, "png");
        writer.setCompression(1);
        writer.write(page);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PngLabels)->Unit(benchmark::kMicrosecond);

void BM_Pdf1000Pages(benchmark::State& state) {
    SymbolCache symbols;
    Label label = TypicalLabel(symbols);
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        LabelPdfPages pages(buffer, QSizeF(50, 80), 203, 203, QString());
        // Drawn on a pool thread, as the program draws its pages.
        RenderInQtPool([&] {
            for (int page = 0; page < 1000; ++page) {
                bool moved = false;
                pages.AddPage(RenderLabelPage(
                    label,
                    [&](QPainter& painter, Label& l) {
                        return DrawLabel(painter, l, symbols, {1, 1});
                    },
                    moved));
            }
        });
        pages.Finish();
        state.counters["bytes"] = static_cast<double>(bytes.size());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Pdf1000Pages)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScreenPaint500(benchmark::State& state) {
    SymbolCache symbols;
    std::vector<Element> elements;
    for (int i = 0; i < 500; ++i) {
        const int x = (i % 20) * 20;
        const int y = (i / 20) * 25;
        switch (i % 5) {
            case 0:
                elements.push_back(MakeTextElement(x, y, "Text 123"));
                break;
            case 1: {
                Element e = MakeBarcodeElement(x, y, "12345");
                e.nWidth = 80;
                e.nHeight = 20;
                elements.push_back(e);
                break;
            }
            case 2: {
                Element e = Make2DElement(x, y, "QR");
                e.nWidth = 20;
                elements.push_back(e);
                break;
            }
            default: {
                Element e = MakeShapeElement(x, y);
                e.nWidth = 18;
                e.nHeight = 18;
                e.nShapeType = i % 3;
                elements.push_back(e);
                break;
            }
        }
    }
    QImage screen(375, 600, QImage::Format_RGB32);
    const DisplayScale scale{375 / LabelDots(203, 50), 600 / LabelDots(203, 80)};
    for (auto _ : state) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        const RenderContext context{painter, symbols, scale, false, scale, {}};
        for (Element& e : elements) {
            DrawElement(context, e);
        }
    }
}
BENCHMARK(BM_ScreenPaint500)->Unit(benchmark::kMillisecond);

using bench::RunForPeakMegabytes;

void BM_CliPdfCopies(benchmark::State& state) {
    SymbolCache symbols;
    const Label label = TypicalLabel(symbols);
    const std::string file = g_dir->filePath(QStringLiteral("typical.lab")).toStdString();
    if (!SaveLabelFile(label, file)) {
        state.SkipWithError("cannot write the label");
        return;
    }
    const std::string pdf = g_dir->filePath(QStringLiteral("copies.pdf")).toStdString();
    double peak = 0;
    for (auto _ : state) {
        peak = RunForPeakMegabytes({ETIQO_BINARY_DIR "/src/app/etiqo", "render", file, "-o", pdf, "--copies",
                                    std::to_string(state.range(0))});
        if (peak < 0) {
            state.SkipWithError("etiqo render failed");
            return;
        }
    }
    state.counters["peak_MB"] = peak;
    state.counters["labels/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CliPdfCopies)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace etiqo

int main(int argc, char** argv) {
    return etiqo::bench::RunBenchmarks<QGuiApplication>(argc, argv, etiqo::g_dir);
}
