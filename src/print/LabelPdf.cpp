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
    bool ok = true;
    {
        LabelPdfPages pages(file, QSizeF(setup.paper.width / 100.0, setup.paper.height / 100.0), setup.dpiX,
                            setup.dpiY, QStringLiteral("docname"));
        for (int i = 0; i < count && ok; ++i) {
            ok = pages.AddPage(page(i));
        }
        ok = pages.Finish() && ok;
    }
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}

}  // namespace etiqo
