// The ZPL graphic reader the printing tests rely on, checked against hand-made data.
#include <gtest/gtest.h>

#include "ZplGraphic.h"

namespace etiqo::test {
namespace {

// The rows of a 1-bit image as strings of '#' and '.'.
std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            row += image.pixelIndex(x, y) ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ZplGraphic, DecodesHexRunLengthAndRowShortcuts) {
    struct Case {
        const char* data;
        int total;
        int bytesPerRow;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"F0\n0F\n", 2, 1, {"####....", "....####"}},
        {"HF\n", 1, 1, {"########"}},                                 // H = 2 repeats
        {"IF0\n", 2, 2, {"############...."}},                        // I = 3
        {"F,\n:\n", 4, 2, {"####............", "####............"}},  // ',' zero fill, ':' repeat
        {"!\n,\n", 4, 2, {"################", "................"}},   // '!' one fill
        {"0gF\n", 11, 11, {"...." + std::string(80, '#') + "...."}},  // g = 20
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        const QImage image = DecodeZplGraphic(c.data, c.total, c.bytesPerRow);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(Rows(image), c.rows);
    }
}

TEST(ZplGraphic, RejectsMalformedData) {
    EXPECT_TRUE(DecodeZplGraphic("F0", 2, 1).isNull());    // one row short
    EXPECT_TRUE(DecodeZplGraphic("FFF", 1, 1).isNull());   // row overflows
    EXPECT_TRUE(DecodeZplGraphic("F0Q0", 2, 1).isNull());  // Q repeats past the row
    EXPECT_TRUE(DecodeZplGraphic("ZZ", 1, 1).isNull());    // not ZPL
    EXPECT_TRUE(DecodeZplGraphic("F0", 3, 2).isNull());    // total not whole rows
}

TEST(ZplGraphic, ReadsPagesWithWidthAndQuantity) {
    const QByteArray job =
        "~DGR:CUPS.GRF,2,1,\nF0\n0F\n^XA\n^PW8\n^PQ3, 0, 0, N\n^XZ\n"
        "~DGR:CUPS.GRF,1,1,\n,\n^XA\n^PW8\n^XZ\n";
    const auto pages = DecodeZplJob(job);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].graphic.size(), QSize(8, 2));
    EXPECT_EQ(pages[0].printWidth, 8);
    EXPECT_EQ(pages[0].quantity, 3);
    EXPECT_EQ(pages[1].quantity, 1);
    EXPECT_EQ(Rows(pages[1].graphic), std::vector<std::string>{"........"});
}

}  // namespace
}  // namespace etiqo::test
