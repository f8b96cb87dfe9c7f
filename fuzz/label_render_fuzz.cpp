// Any bytes opened as a label and drawn as the designer and the printer would at 203 dpi: no
// crash, no hang, no huge allocation, whatever the records hold.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "model/Geometry.h"
#include "model/LabelFile.h"
#include "model/SnapshotStore.h"
#include "print/DrawLabel.h"
#include "print/HeadlessOutput.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace {

// A label up to 1000 mm square is 8000 dots a side at 203 dpi; the fuzzer draws on at most this
// many dots a side (the rest is clipped just as the printer's page would clip it).
constexpr int kMaxImageDots = 1024;

// Kept until the process ends and never destroyed: at exit Qt's own globals may already be gone.
QGuiApplication* g_application = nullptr;
// Drawing writes no snapshots; the label only needs a folder name.
std::filesystem::path g_snapshots;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_application = etiqo::EnsureGuiApplication().release();
    g_snapshots = std::filesystem::temp_directory_path() / "etiqo-fuzz-snapshots";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    etiqo::LabelReadResult read = etiqo::ParseLabelFile(std::as_bytes(std::span(data, size)), "fuzz.lab");
    if (!read) {
        return 0;
    }
    etiqo::Label label{etiqo::SnapshotStore(g_snapshots)};
    label.SetLabelSize(read.contents->widthMM, read.contents->heightMM);
    label.m_elements = std::move(read.contents->elements);

    etiqo::SymbolCache symbols;
    const etiqo::PixelSize view = etiqo::HeadlessView(label);
    etiqo::PrepareHeadless(label, symbols, view);

    // The designer's first paint, grips included.
    const etiqo::DisplayScale scale = etiqo::ComputeDisplayScale(
        view.width, view.height, label.m_nDpiX, label.m_nDpiY, label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    QImage screen(std::max(view.width, 1), std::max(view.height, 1), QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        const etiqo::RenderContext context{painter, symbols, scale, false, scale, {}};
        for (const etiqo::ElementPtr& element : label.m_elements) {
            element->bSelected = 1;
            etiqo::DrawElement(context, *element);
            element->bSelected = 0;
        }
    }

    const int width =
        std::clamp(static_cast<int>(etiqo::LabelDots(203, label.m_nLabelWidthMM)), 1, kMaxImageDots);
    const int height =
        std::clamp(static_cast<int>(etiqo::LabelDots(203, label.m_nLabelHeightMM)), 1, kMaxImageDots);
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const auto draw = etiqo::HeadlessPainter(symbols, view, [](const std::string&) {});
    if (draw(painter, label)) {
        draw(painter, label);  // the next label differs only when serial numbers moved
    }
    return 0;
}
