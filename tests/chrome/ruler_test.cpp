// Ruler tick rules, checked as numbers and on rendered pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

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
// major; a remainder widens the first steps by a pixel each; a centred canvas then counts outward on
// the left as well, with one zero.
TEST(RulerTicks, PositionsValuesAndMajors) {
    const struct {
        int view, offset, length;
        std::size_t count, at;  // how many ticks, and the one checked
        int pos, value;
        bool major;
    } rows[] = {
        {400, 0, 600, 72, 0, 24, 0, true},     {400, 0, 600, 72, 10, 104, 10, true},
        {400, 0, 600, 72, 71, 592, 71, false}, {199, 0, 400, 51, 1, 33, 2, false},
        {199, 0, 400, 51, 50, 398, 100, true}, {400, 100, 700, 84, 72, 116, 1, false},
        {400, 100, 700, 84, 81, 44, 10, true}, {400, 9, 700, 85, 84, 25, 1, false},
    };
    for (const auto& row : rows) {
        const auto ticks = ComputeRulerTicks(row.view, 50, row.offset, row.length);
        ASSERT_EQ(ticks.size(), row.count) << row.view << " from " << row.offset;
        const RulerTick& t = ticks[row.at];
        EXPECT_EQ((std::tuple{t.nPos, t.nValueMM, t.bMajor}), (std::tuple{row.pos, row.value, row.major}))
            << row.view << " from " << row.offset << ", tick " << row.at;
    }
}

// In a frame the rulers make an L along the top and left; majors and minors are drawn as the rules say.
TEST(RulerPaint, TicksAndBordersOnPixels) {
    QWidget frame;
    CRulerWnd ruler(&frame);
    ruler.ResizeRuler(800, 600);
    EXPECT_EQ(ruler.geometry(), QRect(0, 84, 800, 496));
    for (const auto& [at, inside] : {std::pair{QPoint(400, 10), true},
                                     {QPoint(10, 400), true},
                                     {QPoint(24, 24), true},
                                     {QPoint(25, 25), false}}) {
        EXPECT_EQ(ruler.mask().contains(at), inside) << at.x() << "," << at.y();
    }
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

}  // namespace
}  // namespace etiqo
