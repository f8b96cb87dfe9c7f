#include "print/LabelPdfPages.h"

#include <QPageLayout>
#include <QPageSize>

namespace etiqo {

LabelPdfPages::LabelPdfPages(QIODevice& target, const Label& label, const QString& title)
    : m_exact(target, LabelSizeInPoints(label.m_nLabelWidthMM, label.m_nLabelHeightMM)),
      m_pdf(&m_exact),
      m_yScale(static_cast<double>(label.m_nDpiX) / label.m_nDpiY) {
    m_pdf.setCreator(QStringLiteral("Etiqo"));
    m_pdf.setTitle(title);
    m_pdf.setResolution(label.m_nDpiX);  // one painter unit a dot across
    m_pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(label.m_nLabelWidthMM, label.m_nLabelHeightMM),
                                              QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
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
    // Without this Qt stores an image as JPEG whenever it can: grey fringes on every bar.
    m_painter.setRenderHint(QPainter::LosslessImageRendering);
    return &m_painter;
}

bool LabelPdfPages::Finish() {
    const bool painted = !m_painter.isActive() || m_painter.end();
    m_exact.close();
    return painted;
}

}  // namespace etiqo
