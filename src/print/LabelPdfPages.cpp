#include "print/LabelPdfPages.h"

#include <QPageLayout>
#include <QPageSize>

namespace etiqo {

LabelPdfPages::LabelPdfPages(QIODevice& target, QSizeF millimetres, int dpiX, int dpiY, const QString& title)
    : m_exact(target, LabelSizeInPoints(millimetres.width(), millimetres.height())),
      m_pdf(&m_exact),
      m_yScale(static_cast<double>(dpiX) / dpiY) {
    m_pdf.setCreator(QStringLiteral("Etiqo"));
    m_pdf.setTitle(title);
    m_pdf.setResolution(dpiX);  // one painter unit a dot across
    m_pdf.setPageLayout(
        QPageLayout(QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
}

QPainter* LabelPdfPages::NextPage() {
    if (m_painter.isActive()) {
        if (!m_pdf.newPage()) {
            return nullptr;
        }
    } else if (!m_painter.begin(&m_pdf)) {
        return nullptr;
    }
    m_painter.resetTransform();
    // Down the page a dot is 1/dpiY inch.
    m_painter.scale(1.0, m_yScale);
    // Without this Qt stores an image as JPEG whenever it can: grey fringes on every edge.
    m_painter.setRenderHint(QPainter::LosslessImageRendering);
    return &m_painter;
}

bool LabelPdfPages::Finish() {
    const bool painted = !m_painter.isActive() || m_painter.end();
    m_exact.close();
    return painted;
}

}  // namespace etiqo
