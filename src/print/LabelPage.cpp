#include "print/LabelPage.h"

#include <QPainter>

#include "model/Geometry.h"

namespace etiqo {

QSize LabelSizeInDots(const Label& label) {
    return {TruncToInt(LabelDots(label.m_nDpiX, label.m_nLabelWidthMM)),
            TruncToInt(LabelDots(label.m_nDpiY, label.m_nLabelHeightMM))};
}

bool PageWithinLimit(int widthMM, int heightMM, int dpiX, int dpiY) {
    return qint64{TruncToInt(LabelDots(dpiX, widthMM))} * TruncToInt(LabelDots(dpiY, heightMM)) <=
           kMaxPagePixels;
}

bool PageWithinLimit(const Label& label) {
    return PageWithinLimit(label.m_nLabelWidthMM, label.m_nLabelHeightMM, label.m_nDpiX, label.m_nDpiY);
}

QImage RenderLabelPage(Label& label, const LabelPainter& painter, bool& serialsMoved) {
    if (!PageWithinLimit(label)) {
        return {};
    }
    const QSize dots = LabelSizeInDots(label);
    QImage page(dots.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter device(&page);
        // A head burns a dot or not: grey edges would only be thresholded away unevenly.
        device.setRenderHint(QPainter::Antialiasing, false);
        device.setRenderHint(QPainter::TextAntialiasing, false);
        if (painter && painter(device, label)) {
            serialsMoved = true;
        }
    }
    // Whatever grey is left (pictures the renderer drew) goes to black or white at half way.
    return page.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither | Qt::AvoidDither);
}

}  // namespace etiqo
