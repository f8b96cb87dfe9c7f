// The PDF a printer without a raster driver gets: the page images, lossless and dot for dot.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "print/LabelPdf.h"

namespace etiqo {
namespace {

// A 50 × 30 mm page at 203 dpi as a print job makes it: 1 bit a dot, bars of 2 to 5 dots and
// one dot that moves with the page number.
QImage BarsPage(int number) {
    QImage page(400, 240, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    for (int x = 20, width = 2; x < 380; x += 2 * width + 1, width = 2 + (width + 1) % 4) {
        painter.fillRect(x, 20, width, 150, Qt::black);
    }
    painter.end();
    page.setPixel(30 + number, 200, qRgb(0, 0, 0));
    return page.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither);
}

// Rasterised again at the printer's resolution, without smoothing: a lossy image (JPEG) or a page
// out by a dot would show.
TEST(LabelPdf, PagesAreTheImagesDotForDot) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("job.pdf"));
    ASSERT_TRUE(WriteLabelPdf(path, PdfPageSetup{{5000, 3000}, 203, 203}, 2, BarsPage));
    ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-r"), QStringLiteral("203"), QStringLiteral("-png"),
                                 QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"),
                                 QStringLiteral("no"), path, folder.filePath(QStringLiteral("page"))}),
              0);
    for (int number = 0; number < 2; ++number) {
        const QImage expected = BarsPage(number).convertToFormat(QImage::Format_RGB32);
        const QImage rasterised = QImage(folder.filePath(QStringLiteral("page-%1.png").arg(number + 1)))
                                      .convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(rasterised.width(), expected.width());
        ASSERT_GE(rasterised.height(), expected.height());
        EXPECT_EQ(rasterised.copy(expected.rect()), expected) << "page " << number + 1;
    }
}

}  // namespace
}  // namespace etiqo
