// The compiled-in images: strip sizes at each density, cursors with their hot spots, the icon.
#include <gtest/gtest.h>

#include <QPixmap>

#include "res/Resources.h"

namespace etiqo {
namespace {

// The bars draw every cell (their pixels are checked there); here the sizes, the clear corner that
// lets the highlight show, and the dense strips at the same logical size.
TEST(Resources, StripsCursorsAndIcon) {
    const struct {
        int id, cells, width, height;
    } rows[] = {{kStripTools, 10, 35, 40}, {kStripTextStyle, 6, 30, 30}, {kStripCommands, 26, 35, 45}};
    for (const auto& row : rows) {
        const QImage strip = LoadStrip(row.id, 1.0);
        EXPECT_EQ(strip.size(), QSize(row.cells * row.width, row.height)) << row.id;
        EXPECT_EQ(qAlpha(strip.pixel(row.width, 0)), 0) << row.id;
        EXPECT_EQ(LoadStrip(row.id, 2.0).deviceIndependentSize(), QSizeF(strip.size())) << row.id;
    }
    EXPECT_TRUE(LoadStrip(140).isNull() && LoadStrip(140, 2.0).isNull());
    // The pixel under each hot spot is part of the picture, so the point is where the user sees it.
    for (const int id : {kCursorLine, kCursorText, kCursor2D, kCursorBarcode, kCursorPicture}) {
        const QCursor cursor = LoadCursor(id);
        EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(cursor.hotSpot())), 128) << id;
    }
    EXPECT_EQ(LoadCursor(145).shape(), Qt::ArrowCursor);
    EXPECT_TRUE(ProgramIcon().availableSizes().contains(QSize(256, 256)));
}

}  // namespace
}  // namespace etiqo
