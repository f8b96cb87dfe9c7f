// The compiled-in images: strip sizes, every cell drawn, cursors with their hot spots, the icon sizes,
// and a desktop entry that agrees with the MIME type it claims.
#include <gtest/gtest.h>

#include <QFile>
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

TEST(Resources, StripsHaveEveryCellDrawnWithTransparentMargins) {
    struct Row {
        int id, cells, width, height;
    } rows[] = {{kStripTools, 10, 35, 40}, {kStripTextStyle, 6, 30, 30}, {kStripCommands, 26, 35, 45}};
    for (const Row& row : rows) {
        const QImage strip = LoadStrip(row.id, 1.0);
        ASSERT_FALSE(strip.isNull()) << row.id;
        EXPECT_TRUE(strip.hasAlphaChannel()) << row.id;
        EXPECT_EQ(strip.size(), QSize(row.cells * row.width, row.height)) << row.id;
        for (int i = 0; i < row.cells; ++i) {
            const QRect cell(i * row.width, 0, row.width, row.height);
            EXPECT_GT(OpaquePixels(strip, cell), 40) << "strip " << row.id << " cell " << i;
            // The corner pixel stays clear so the highlight shows around the picture.
            EXPECT_EQ(qAlpha(strip.pixel(cell.topLeft())), 0) << "strip " << row.id << " cell " << i;
        }
        // The command bar shows only the top 42 rows of its cells.
        if (row.id == kStripCommands) {
            EXPECT_EQ(OpaquePixels(strip, QRect(0, 42, strip.width(), 3)), 0);
        }
    }
    EXPECT_TRUE(LoadStrip(140).isNull());
}

TEST(Resources, HighDensityStripsCoverTheSamePixels) {
    for (const int id : {kStripTools, kStripTextStyle, kStripCommands}) {
        const QImage normal = LoadStrip(id, 1.0);
        const QImage dense = LoadStrip(id, 2.0);
        ASSERT_FALSE(dense.isNull()) << id;
        EXPECT_EQ(dense.size(), normal.size() * 2) << id;
        EXPECT_EQ(dense.devicePixelRatio(), 2.0) << id;
        EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(normal.size())) << id;
        // The same pictures: the dense strip scaled down is close to the normal one.
        const QImage down = dense.scaled(normal.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int differing = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                differing += std::abs(qAlpha(down.pixel(x, y)) - qAlpha(normal.pixel(x, y))) > 128;
            }
        }
        EXPECT_LT(differing, normal.width() * normal.height() / 50) << id;
    }
    EXPECT_TRUE(LoadStrip(140, 2.0).isNull());
}

TEST(Resources, CursorsCarryTheirHotSpots) {
    struct Row {
        int id;
        QPoint hot;
    } rows[] = {{kCursorLine, {5, 5}},
                {kCursorText, {0, 0}},
                {kCursor2D, {0, 0}},
                {kCursorBarcode, {0, 0}},
                {kCursorPicture, {0, 0}}};
    for (const Row& row : rows) {
        const QCursor cursor = LoadCursor(row.id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << row.id;
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << row.id;
        EXPECT_EQ(cursor.hotSpot(), row.hot) << row.id;
        // The pixel under the hot spot is part of the picture, so the point is where the user sees it.
        EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(row.hot)), 128) << row.id;
    }
    EXPECT_EQ(LoadCursor(145).shape(), Qt::ArrowCursor);
}

TEST(Resources, ProgramIconAtDesktopSizes) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
}

TEST(Resources, DesktopEntryMatchesMimeType) {
    QFile desktop(QStringLiteral(ETIQO_SOURCE_DIR "/src/res/desktop/etiqo.desktop"));
    QFile mime(QStringLiteral(ETIQO_SOURCE_DIR "/src/res/desktop/etiqo-label.xml"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    const QByteArray entry = desktop.readAll();
    const QByteArray types = mime.readAll();
    EXPECT_TRUE(entry.contains("\nMimeType=application/x-etiqo-label;\n"));
    EXPECT_TRUE(entry.contains("\nIcon=etiqo\n"));
    EXPECT_TRUE(entry.contains("\nExec=etiqo %f\n"));
    EXPECT_TRUE(types.contains("type=\"application/x-etiqo-label\""));
    EXPECT_TRUE(types.contains("<glob pattern=\"*.lab\"/>"));
}

}  // namespace
}  // namespace etiqo
