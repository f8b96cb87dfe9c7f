// The canvas under load: a drag step (move, snapshot, repaint) on 200 elements and a full
// repaint of 500, both on the offscreen platform. Each must stay well under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "canvas/LabelCanvas.h"
#include "model/ElementFactory.h"

namespace etiqo {
namespace {

std::filesystem::path BenchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "etiqo-canvas-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

// A label crowded with every kind, as a busy shipping label would be.
void Fill(CLabelCanvas& canvas, int count) {
    Label& label = canvas.GetLabel();
    label.m_elements.clear();
    for (int i = 0; i < count; ++i) {
        const int x = (i * 37) % 360;
        const int y = (i * 53) % 600;
        Element e;
        switch (i % 6) {
            case 0:
                e = MakeTextElement(x, y, "Lot 4711-" + std::to_string(i));
                e.nWidth = e.nOrgWidth = 120;
                e.nHeight = e.nOrgHeight = 24;
                break;
            case 1:
                e = MakeBarcodeElement(x, y, std::to_string(100000 + i));
                break;
            case 2:
                e = Make2DElement(x, y, "https://example.com/p/" + std::to_string(i));
                break;
            case 3:
                e = MakeLineElement(x, y, canvas.Scale());
                e.nEndX = e.nOrgEndX = e.nEndX + 80;
                e.nSize = kNoGrip;
                break;
            case 4:
                e = MakeShapeElement(x, y);
                e.nWidth = e.nOrgWidth = 60;
                e.nHeight = e.nOrgHeight = 40;
                e.nShapeType = i % 5;
                e.nSize = kNoGrip;
                break;
            default:
                e = MakeTextElement(x, y, "Best before 2027-01-01");
                e.nEscapement = 900;
                e.nWidth = e.nOrgWidth = 150;
                e.nHeight = e.nOrgHeight = 20;
                break;
        }
        e.bSelected = i % 10 == 0 ? 1 : 0;  // a tenth of them dragged together
        label.Append(e);
    }
    canvas.repaint();  // encodes every symbol once, as the first paint does
}

struct Frame {
    QWidget window;
    CLabelCanvas* canvas;
    Frame() : canvas(new CLabelCanvas(SnapshotStore(BenchFolder()), nullptr)) {
        window.resize(1100, 750);
        canvas->Create(&window, 50, 80);
        window.show();
        QApplication::processEvents();
    }
};

void SendMove(CLabelCanvas& canvas, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(canvas.mapToGlobal(p)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);
}

void BM_DragStep200(benchmark::State& state) {
    Frame frame;
    Fill(*frame.canvas, 200);
    frame.canvas->m_MouseDownPoint = QPoint(100, 100);
    int step = 0;
    for (auto _ : state) {
        SendMove(*frame.canvas, QPoint(100 + step % 40, 100 + step % 30));  // moves and takes a snapshot
        frame.canvas->repaint();
        ++step;
    }
    state.counters["snapshots"] = frame.canvas->GetLabel().m_nUndoCount;
}
BENCHMARK(BM_DragStep200)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FullRepaint500(benchmark::State& state) {
    Frame frame;
    Fill(*frame.canvas, 500);
    for (auto _ : state) {
        frame.canvas->repaint();
    }
}
BENCHMARK(BM_FullRepaint500)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace etiqo

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(etiqo::BenchFolder());
    return 0;
}
