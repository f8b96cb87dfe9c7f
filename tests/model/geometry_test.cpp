// Millimetres, dots and display pixels: the canvas size chosen for a label, zooming, conversions.
#include "model/Geometry.h"

#include "model/Element.h"

#include <gtest/gtest.h>

#include <limits>

namespace etiqo {
namespace {

TEST(Geometry, CanvasSizeZoomAndConversions) {
    // clang-format off
    const struct { const char* name; int widthMM, heightMM; PixelSize expected; } rows[] = {
        {"50 × 80 mm does not fit the height: 400.11 × 639.87 dots", 50, 80, {375, 600}},
        {"a small label gets two pixels a dot", 20, 10, {320, 160}},
        {"a wide label gets whole pixels a millimetre", 300, 20, {900, 60}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChooseCanvasSize(LabelDots(203, row.widthMM), LabelDots(203, row.heightMM), 1000, 600,
                                   row.widthMM),
                  row.expected);
    }
    EXPECT_NEAR(LabelDots(203, 80), 639.87, 0.01);
    // Zooming returns to the same size and stops at the lower bound.
    EXPECT_EQ(ZoomedSize({375, 600}, 30), (PixelSize{405, 648}));
    EXPECT_EQ(ZoomedSize({405, 648}, -30), (PixelSize{375, 600}));
    PixelSize size{100, 160};
    for (int i = 0; i < 10; ++i) {
        size = ZoomedSize(size, -30);
    }
    EXPECT_GE(size.width, kMinZoomedWidth);
    EXPECT_GT(size.height, 0);

    // Conversions round, saturate and wrap.
    EXPECT_EQ(MmFromDots(300, 203), 38);
    EXPECT_EQ(MmFromDots(80, 203), 10);
    EXPECT_EQ(DotsFromMm(38, 203), 304);
    EXPECT_EQ(DotsFromMm(13, 203), 104);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TruncToInt(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(PixelsToDots(100, 0.0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(NormalisedAngle(-900), 2700);
    EXPECT_EQ(NormalisedAngle(900), 900);
}

}  // namespace
}  // namespace etiqo
