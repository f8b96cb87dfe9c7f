#include "print/LabelPdf.h"

#include <QFile>

#include "print/LabelPdfPages.h"

namespace etiqo {

bool WriteLabelPdf(const QString& path, const PdfPageSetup& setup, int count,
                   const std::function<QImage(int)>& page) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    LabelPdfPages pages(file, QSizeF(setup.paper.width / 100.0, setup.paper.height / 100.0), setup.dpiX,
                        setup.dpiY, QStringLiteral("docname"));
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        const QImage image = page(i);
        QPainter* painter = image.isNull() ? nullptr : pages.NextPage();
        ok = painter != nullptr;
        if (ok) {
            // Anchored at the page's corner so that pixel n lands on printer dot n.
            painter->drawImage(QPointF(0, 0), image);
        }
    }
    ok = pages.Finish() && ok;
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

}  // namespace etiqo
