// Ruler tick rules, checked as numbers and on rendered pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

#include "chrome/CRulerWnd.h"
#include "chrome/RulerTicks.h"

namespace etiqo {
namespace {

constexpr QRgb kTick = qRgb(0x40, 0x80, 0x80);
constexpr QRgb kBackground = qRgb(0xF5, 0xF5, 0xF5);
constexpr QRgb kBorder = qRgb(0x96, 0x96, 0x96);

std::vector<RulerTick> Ticks(int view, int mm, int offset, int length, bool before) {
    std::vector<RulerTick> all = ComputeRulerTicks(view, mm, offset, length);
    std::erase_if(all, [&](const RulerTick& t) { return (t.nPos < offset + 24) != before; });
    return all;
}

// Pixels per step, remainder and step for a view width and a label length; sizes that would divide
// by zero draw nothing.
TEST(RulerScale, StepsAndRemainders) {
    const struct {
        int view, mm;
        std::optional<std::array<int, 3>> scale;  // pixels per step, remainder, step in mm
    } rows[] = {
        {400, 50, {{8, 0, 1}}},   // 8 pixels per millimetre
        {199, 50, {{7, 24, 2}}},  // 3 per millimetre is below 4: two-millimetre steps
        {405, 50, {{8, 5, 1}}},
        {200, 50, {{4, 0, 1}}},  // exactly 4 keeps the millimetre step
        {10, 3, {{10, 0, 2}}},   // 3 mm at 3 px/mm: halves to 1 "unit" of 2 mm
        {400, 0, {}},
        {3, 1, {}},
        {0, 50, {}},
        {1, 10, {}},
    };
    for (const auto& row : rows) {
        const auto scale = ComputeRulerScale(row.view, row.mm);
        ASSERT_EQ(scale.has_value(), row.scale.has_value()) << row.view << " / " << row.mm;
        if (scale) {
            EXPECT_EQ((std::array{scale->nPixelsPerStep, scale->nRemainder, scale->nStepMM}), *row.scale);
        } else {
            EXPECT_TRUE(ComputeRulerTicks(row.view, row.mm, 10, 800).empty());
        }
    }
}

// From the band edge to the end of the ruler, past the label's end: a tick every step, every tenth
// major; a remainder widens the first steps by a pixel each; a centred canvas counts outward on the
// left as well, with one zero.
TEST(RulerTicks, PositionsValuesAndMajors) {
    const auto ticks = ComputeRulerTicks(400, 50, 0, 600);
    ASSERT_EQ(ticks.size(), 72u);  // x = 0, 8, ... 568 < 576
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ((std::tuple{ticks[i].nPos, ticks[i].bMajor, ticks[i].nValueMM}),
                  (std::tuple{24 + 8 * static_cast<int>(i), i % 10 == 0, static_cast<int>(i)}));
    }
    const auto uneven = ComputeRulerTicks(199, 50, 0, 400);
    ASSERT_GT(uneven.size(), 40u);
    std::vector<int> numbers;
    for (int i = 0; i < static_cast<int>(uneven.size()); ++i) {
        EXPECT_EQ(uneven[i].nPos, 24 + 7 * i + std::min(i + 1, 24)) << "tick " << i;
        if (uneven[i].bMajor) {
            numbers.push_back(uneven[i].nValueMM);
        }
    }
    EXPECT_EQ(numbers, (std::vector<int>{0, 20, 40, 60, 80, 100}));

    const auto before = Ticks(400, 50, 100, 700, true);
    ASSERT_EQ(before.size(), 12u);  // x = 92, 84, ... 4
    for (std::size_t k = 0; k < before.size(); ++k) {
        EXPECT_EQ((std::tuple{before[k].nPos, before[k].nValueMM, before[k].bMajor}),
                  (std::tuple{124 - 8 * static_cast<int>(k + 1), static_cast<int>(k + 1), k == 9}));
    }
    const auto all = ComputeRulerTicks(400, 50, 100, 700);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const RulerTick& t) { return t.nIndex == 0; }), 1);
    EXPECT_TRUE(Ticks(400, 50, 0, 700, true).empty());   // no leftward pass at the edge
    EXPECT_FALSE(Ticks(400, 50, 9, 700, true).empty());  // one tick fits before zero
}

TEST(RulerPaint, TicksAndBordersOnPixels) {
    CRulerWnd ruler;
    ruler.SetLabelMetrics(50, 80, 400, 640);
    ruler.SetCanvasPos(0, 0);
    QImage image(600, 500, QImage::Format_RGB32);
    QPainter painter(&image);
    ruler.DrawRuler(painter, image.size());
    painter.end();

    // Borders; majors at 24 + 80 from row 14, minors at 24 + 8 from row 17 only, on both rulers.
    const std::tuple<int, int, QRgb> pixels[] = {
        {5, 5, kBackground}, {200, 24, kBorder}, {24, 200, kBorder},    {104, 23, kTick},
        {104, 17, kTick},    {32, 17, kTick},    {32, 16, kBackground}, {36, 20, kBackground},
        {20, 104, kTick},    {17, 32, kTick},    {16, 32, kBackground},
    };
    for (const auto& [x, y, colour] : pixels) {
        EXPECT_EQ(image.pixel(x, y), colour) << x << "," << y;
    }
    // Some number pixels are drawn near the top ruler's 10.
    bool inked = false;
    for (int x = 95; x < 115; ++x) {
        for (int y = 2; y < 14; ++y) {
            inked = inked || image.pixel(x, y) != kBackground;
        }
    }
    EXPECT_TRUE(inked);
}

TEST(RulerWindow, ResizeMakesTheLShape) {
    QWidget frame;
    frame.resize(800, 600);
    CRulerWnd ruler(&frame);
    ruler.ResizeRuler(800, 600);
    EXPECT_EQ(ruler.geometry(), QRect(0, 84, 800, 496));
    const QRegion mask = ruler.mask();
    EXPECT_TRUE(mask.contains(QPoint(400, 10)));
    EXPECT_TRUE(mask.contains(QPoint(10, 400)));
    EXPECT_TRUE(mask.contains(QPoint(24, 24)));
    EXPECT_FALSE(mask.contains(QPoint(25, 25)));
    EXPECT_FALSE(mask.contains(QPoint(400, 300)));
}

}  // namespace
}  // namespace etiqo
