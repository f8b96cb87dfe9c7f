// The CUPS raster document for drivers that read it, against the private cupsd: the page the
// driver lays out, the bits written, and which printers get a PDF instead.
#include <gtest/gtest.h>

#include <cups/raster.h>
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <QTemporaryDir>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "print/CupsRasterDocument.h"

namespace etiqo {
namespace {

using test::CupsdRig;

const JobOptions kLabel50x30{{"media", "Custom.50x30mm"}, {"PageSize", "Custom.50x30mm"}};

TEST(CupsRasterDocument, TheZplDriverTakesOneBitBlackPagesOfTheLabelSize) {
    const std::optional<CupsRasterDocument> document =
        CupsRasterDocument::ForPrinter(CupsdRig::kQueue, kLabel50x30);
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(document->Width(), 400);
    EXPECT_EQ(document->Height(), 240);
    EXPECT_EQ(document->DpiX(), 203);
    EXPECT_EQ(document->DpiY(), 203);
}

TEST(CupsRasterDocument, OtherPrintersGetAPdf) {
    EXPECT_FALSE(CupsRasterDocument::ForPrinter("no-such-printer", kLabel50x30).has_value());
    // A PostScript driver reads PDF through its own filters, not CUPS raster.
    const QString output = CupsdRig::Dir() + QStringLiteral("/postscript.out");
    ASSERT_TRUE(test::AddQueue("postscript", output, "drv:///sample.drv/generic.ppd"));
    EXPECT_FALSE(CupsRasterDocument::ForPrinter("postscript", kLabel50x30).has_value());
    test::RemoveQueue("postscript");
}

TEST(CupsRasterDocument, WritesEachPageDotForDotWithTheCopyCount) {
    const std::optional<CupsRasterDocument> document =
        CupsRasterDocument::ForPrinter(CupsdRig::kQueue, kLabel50x30);
    ASSERT_TRUE(document.has_value());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("job.ras"));
    // Page i: a black dot at (i, 0) and at (399, 239); the second page image is smaller than the
    // paper (what it lacks stays blank) and the first larger (what lies beyond is cut).
    const auto page = [](int i) {
        QImage image(i == 0 ? QSize(500, 300) : QSize(300, 200), QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(i, 0, qRgb(0, 0, 0));
        if (i == 0) {
            image.setPixel(399, 239, qRgb(0, 0, 0));
            image.setPixel(400, 239, qRgb(0, 0, 0));  // beyond the paper
        }
        return image;
    };
    ASSERT_TRUE(document->Write(path, 2, 3, page));

    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_READ);
    cups_page_header2_t header;
    int pages = 0;
    while (cupsRasterReadHeader2(raster, &header) != 0) {
        EXPECT_EQ(header.NumCopies, 3U);
        EXPECT_EQ(header.cupsWidth, 400U);
        EXPECT_EQ(header.cupsHeight, 240U);
        EXPECT_EQ(header.cupsBitsPerPixel, 1U);
        std::vector<unsigned char> row(header.cupsBytesPerLine);
        int black = 0;
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            ASSERT_EQ(cupsRasterReadPixels(raster, row.data(), header.cupsBytesPerLine),
                      header.cupsBytesPerLine);
            for (unsigned x = 0; x < header.cupsWidth; ++x) {
                if ((row[x / 8] & (0x80 >> (x % 8))) != 0) {
                    ++black;
                    const bool expected =
                        (y == 0 && static_cast<int>(x) == pages) || (pages == 0 && x == 399 && y == 239);
                    EXPECT_TRUE(expected) << "page " << pages << " dot " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(black, pages == 0 ? 2 : 1);
        ++pages;
    }
    cupsRasterClose(raster);
    ::close(fd);
    EXPECT_EQ(pages, 2);
}

}  // namespace
}  // namespace etiqo
