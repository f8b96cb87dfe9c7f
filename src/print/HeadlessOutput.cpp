#include "print/HeadlessOutput.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include "print/CheckedWrites.h"
#include "print/DrawLabel.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo {

namespace {

DisplayScale ScaleOf(const Label& label, PixelSize view) {
    return ComputeDisplayScale(view.width, view.height, label.m_nDpiX, label.m_nDpiY, label.m_nLabelWidthMM,
                               label.m_nLabelHeightMM);
}

}  // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance()) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "etiqo";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

PixelSize HeadlessView(const Label& label, QSize frame) {
    const double wd = LabelDots(label.m_nDpiX, label.m_nLabelWidthMM);
    const double hd = LabelDots(label.m_nDpiY, label.m_nLabelHeightMM);
    return ChooseCanvasSize(wd, hd, frame.width() - 50, frame.height() - 50, label.m_nLabelWidthMM);
}

void PrepareHeadless(Label& label, SymbolCache& symbols, PixelSize view) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const DisplayScale scale = ScaleOf(label, view);
    const RenderContext screen{painter, symbols, scale, false, scale, {}};
    for (const ElementPtr& element : label.m_elements) {
        PrepareForOutput(screen, *element);
    }
}

LabelPainter HeadlessPainter(SymbolCache& symbols, PixelSize view,
                             std::function<void(const std::string&)> warn) {
    return [&symbols, view, warn = std::move(warn)](QPainter& painter, Label& label) {
        return DrawLabel(painter, label, symbols, ScaleOf(label, view), warn);
    };
}

bool WritePngPage(QImage page, int dpiX, int dpiY, QIODevice& target) {
    page.setDotsPerMeterX(qRound(dpiX / 0.0254));
    page.setDotsPerMeterY(qRound(dpiY / 0.0254));
    CheckedWrites checked(target);
    QImageWriter writer(&checked, "png");
    writer.setCompression(1);  // a 1-bit page compresses well even at the fastest level
    return writer.write(page) && checked.Finish();
}

}  // namespace etiqo
