// The compiled-in images: every cell of the button strips drawn, cursors with their hot spots, the icon.
#include <gtest/gtest.h>

#include <QPixmap>

#include "res/Resources.h"

namespace etiqo {
namespace {

int OpaquePixels(const QImage& image, const QRect& cell) {
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 128;
        }
    }
    return count;
}

// Every cell of each strip is drawn with a clear corner, so the highlight shows around the picture;
// the dense strips hold the same pictures at twice the pixels.
TEST(Resources, StripsHaveEveryCellDrawnAtEachDensity) {
    const struct {
        int id, cells, width, height;
    } rows[] = {{kStripTools, 10, 35, 40}, {kStripTextStyle, 6, 30, 30}, {kStripCommands, 26, 35, 45}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const QImage strip = LoadStrip(row.id, 1.0);
        ASSERT_TRUE(strip.hasAlphaChannel());
        EXPECT_EQ(strip.size(), QSize(row.cells * row.width, row.height));
        for (int i = 0; i < row.cells; ++i) {
            const QRect cell(i * row.width, 0, row.width, row.height);
            EXPECT_GT(OpaquePixels(strip, cell), 40) << "cell " << i;
            EXPECT_EQ(qAlpha(strip.pixel(cell.topLeft())), 0) << "cell " << i;
        }
        const QImage dense = LoadStrip(row.id, 2.0);
        EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(strip.size()));
        const QImage down = dense.scaled(strip.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int differing = 0;
        for (int y = 0; y < strip.height(); ++y) {
            for (int x = 0; x < strip.width(); ++x) {
                differing += std::abs(qAlpha(down.pixel(x, y)) - qAlpha(strip.pixel(x, y))) > 128;
            }
        }
        EXPECT_LT(differing, strip.width() * strip.height() / 50);
    }
    // The command bar shows only the top 42 rows of its cells.
    const QImage commands = LoadStrip(kStripCommands, 1.0);
    EXPECT_EQ(OpaquePixels(commands, QRect(0, 42, commands.width(), 3)), 0);
    EXPECT_TRUE(LoadStrip(140).isNull());
    EXPECT_TRUE(LoadStrip(140, 2.0).isNull());
}

// The pixel under each cursor's hot spot is part of the picture, so the point is where the user sees it.
TEST(Resources, CursorsAndIcon) {
    for (const int id : {kCursorLine, kCursorText, kCursor2D, kCursorBarcode, kCursorPicture}) {
        const QCursor cursor = LoadCursor(id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << id;
        EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(cursor.hotSpot())), 128) << id;
    }
    EXPECT_EQ(LoadCursor(kCursorLine).hotSpot(), QPoint(5, 5));
    EXPECT_EQ(LoadCursor(145).shape(), Qt::ArrowCursor);
    const QIcon icon = ProgramIcon();
    for (const int size : {16, 32, 48, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
}

}  // namespace
}  // namespace etiqo
