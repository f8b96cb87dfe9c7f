#include "print/LabelPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace etiqo {

bool WriteLabelPdf(const QString& path, const PdfPageSetup& setup, int count,
                   const std::function<QImage(int)>& page) {
    QPdfWriter pdf(path);
    pdf.setCreator(QStringLiteral("Etiqo"));
    pdf.setTitle(QStringLiteral("docname"));
    // Painter units are the printer's dots across; a full page with no margins.
    pdf.setResolution(setup.dpiX);
    const QSizeF millimetres(setup.paper.width / 100.0, setup.paper.height / 100.0);
    pdf.setPageLayout(
        QPageLayout(QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    // Without this Qt stores a page as JPEG whenever it can: grey fringes on every edge, which the
    // printer's filters then threshold or dither.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double aspect = static_cast<double>(setup.dpiX) / setup.dpiY;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        if (i > 0) {
            pdf.newPage();
        }
        const QImage image = page(i);
        ok = !image.isNull();
        if (ok) {
            // Anchored at the page's corner so that pixel n lands on printer dot n.
            painter.drawImage(QRectF(0, 0, image.width(), image.height() * aspect), image);
        }
    }
    return painter.end() && ok;
}

}  // namespace etiqo
