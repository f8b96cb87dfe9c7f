#include "print/HeadlessOutput.h"

#include <QImage>
#include <QPainter>

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

}  // namespace etiqo
