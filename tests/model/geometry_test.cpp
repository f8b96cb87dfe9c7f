#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace etiqo {
namespace {

TEST(Geometry, LabelOf50By80MmAt203DpiDoesNotFitTheHeight) {
    const double wd = LabelDots(203, 50);
    const double hd = LabelDots(203, 80);
    EXPECT_NEAR(wd, 400.11, 0.01);
    EXPECT_NEAR(hd, 639.87, 0.01);
    EXPECT_EQ(ChooseCanvasSize(wd, hd, 1000, 600, 50), (PixelSize{375, 600}));
}

TEST(Geometry, SmallLabelGetsTwoPixelsPerDot) {
    const double wd = LabelDots(203, 20);  // 160.3
    const double hd = LabelDots(203, 10);  // 80.4
    EXPECT_EQ(ChooseCanvasSize(wd, hd, 1000, 600, 20), (PixelSize{320, 160}));
}

TEST(Geometry, WideLabelGetsWholePixelsPerMillimetre) {
    const double wd = LabelDots(203, 300);  // 2398
    const double hd = LabelDots(203, 20);
    const PixelSize size = ChooseCanvasSize(wd, hd, 1000, 600, 300);
    EXPECT_EQ(size.width, 900);
    EXPECT_EQ(size.width % 300, 0);
}

TEST(Geometry, ZoomInAndOutReturnsToTheSameSize) {
    const PixelSize in = ZoomedSize({375, 600}, 30);
    EXPECT_EQ(in, (PixelSize{405, 648}));
    EXPECT_EQ(ZoomedSize(in, -30), (PixelSize{375, 600}));
}

TEST(Geometry, ZoomOutStopsAtTheLowerBound) {
    PixelSize size{100, 160};
    for (int i = 0; i < 10; ++i) {
        size = ZoomedSize(size, -30);
    }
    EXPECT_GE(size.width, kMinZoomedWidth);
    EXPECT_GT(size.height, 0);
}

TEST(Geometry, MillimetreConversionsRoundBothWays) {
    EXPECT_EQ(MmFromDots(300, 203), 38);
    EXPECT_EQ(MmFromDots(80, 203), 10);
    EXPECT_EQ(DotsFromMm(38, 203), 304);
    EXPECT_EQ(DotsFromMm(10, 203), 80);
    EXPECT_EQ(MmFromDots(100, 203), 13);
    EXPECT_EQ(DotsFromMm(13, 203), 104);
}

TEST(Geometry, TruncationSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TruncToInt(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(PixelsToDots(100, 0.0), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace etiqo
