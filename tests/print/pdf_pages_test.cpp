// Every dot of a page goes into the PDF as it stands: pages of awkward shapes (runs past the
// longest code, one dot wide, noise that changes on every dot) come back dot for dot from
// poppler, which decodes the page images as any reader does.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include <functional>

#include "RunProcess.h"
#include "print/LabelPdfPages.h"

namespace etiqo {
namespace {

using testing::RunProcess;

TEST(LabelPdfPages, PagesComeBackDotForDot) {
    QRandomGenerator random(7);
    const struct {
        const char* name;
        int width, height;
        std::function<bool(int x, int y)> ink;
    } pages[] = {
        {"noise", 203, 61, [&](int, int) { return random.bounded(2) == 1; }},
        {"bars of every width", 397, 40, [](int x, int) { return (x / (1 + x % 9)) % 2 == 1; }},
        {"runs past 2560 dots", 5999, 5, [](int x, int y) { return (x > 2600 + y) != (x > 5300); }},
        {"one dot wide", 1, 30, [](int, int y) { return y % 3 == 0; }},
        {"all ink", 64, 8, [](int, int) { return true; }},
        {"blank", 70, 9, [](int, int) { return false; }},
        {"shifting edges", 120, 60,
         [](int x, int y) { return x > 40 + (y % 11) - (y % 5) && x < 90 - y % 7; }},
    };
    const testing::TempDir dir;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.name);
        // The same dots as a grey page (as the renderer draws it), in greys either side of half way.
        QImage dots(page.width, page.height, QImage::Format_Mono);
        dots.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        QImage grey(page.width, page.height, QImage::Format_Grayscale8);
        for (int y = 0; y < page.height; ++y) {
            for (int x = 0; x < page.width; ++x) {
                const bool ink = page.ink(x, y);
                dots.setPixel(x, y, ink ? 1 : 0);
                grey.scanLine(y)[x] =
                    static_cast<uchar>(ink ? 127 - (x * 7 + y) % 128 : 128 + (x + y * 5) % 128);
            }
        }
        // One document: the dots as they are, then as grey (the same dots: the image is stored once).
        const QString pdf = QString::fromStdString((dir / "page.pdf").string());
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        LabelPdfPages writer(file, QSizeF(page.width * 25.4 / 300, page.height * 25.4 / 300), 300, 300,
                             QStringLiteral("标签 (1)"));
        ASSERT_TRUE(writer.AddPage(dots.copy()) && writer.AddPage(grey.copy()) && writer.Finish());
        // A grey page comes back white, to draw the next page on; a 1-bit page does not come back.
        const QImage blank = writer.TakeBlankPage(grey.size());
        QImage white(grey.size(), QImage::Format_Grayscale8);
        white.fill(0xFFu);
        EXPECT_EQ(blank, white);
        EXPECT_TRUE(writer.TakeBlankPage(grey.size()).isNull());
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count("/Subtype /Image"), 1);
        EXPECT_NE(RunProcess("pdfinfo", {pdf.toStdString()}).out.find(" 标签 (1)\n"), std::string::npos);
        const auto back = (dir / "back").string();
        ASSERT_EQ(RunProcess("pdftoppm", {"-r", "300", "-mono", pdf.toStdString(), back}).status, 0);
        for (const char* n : {"-1.pbm", "-2.pbm"}) {
            const QImage read(QString::fromStdString(back + n));
            EXPECT_EQ(read.copy(0, 0, page.width, page.height).convertToFormat(QImage::Format_RGB32),
                      dots.convertToFormat(QImage::Format_RGB32))
                << n;
        }
    }
}

}  // namespace
}  // namespace etiqo
