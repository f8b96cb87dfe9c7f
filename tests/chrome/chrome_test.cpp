// The palette and command bar (where a click sends which command, what cancels it, tooltips, font
// lists), the rulers' ticks as numbers and pixels, and the compiled-in images.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <array>
#include <optional>
#include <tuple>

#include "chrome/CChromeStyle.h"
#include "chrome/CCommandBar.h"
#include "chrome/CRulerWnd.h"
#include "chrome/CToolPalette.h"
#include "chrome/RulerTicks.h"
#include "res/Resources.h"

namespace etiqo {
namespace {

// A bar shown at the size the frame gives it, clicked as a user clicks.
template <typename Bar>
struct Shown {
    Bar bar;
    QSignalSpy spy{&bar, &CButtonBar::commandPosted};
    Shown() {
        bar.setGeometry(0, 0, 1400, 42);
        bar.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }
    std::vector<int> Click(QPoint press, QPoint release) {
        QTest::mouseMove(&bar, press);
        QTest::mousePress(&bar, Qt::LeftButton, {}, press);
        if (release != press) {
            QTest::mouseMove(&bar, release);
        }
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, release);
        std::vector<int> sent;
        for (const auto& args : spy) {
            sent.push_back(args.at(0).toInt());
        }
        spy.clear();
        return sent;
    }
    std::vector<int> Click(QPoint point) { return Click(point, point); }

    // Each button sends its command (first, first + 1, … skipping `gap`) for a press and release
    // anywhere in its press area, and not just outside it nor between press areas.
    void ExpectCommands(int count, int first, int gap) {
        ASSERT_EQ(bar.ButtonCount(), count);
        for (int i = 0; i < count; ++i) {
            const QRect area = bar.PressArea(i);
            const int command = first + i + (gap >= 0 && first + i >= gap ? 1 : 0);
            for (const QPoint p : {area.topLeft(), area.center(), area.bottomRight()}) {
                EXPECT_EQ(Click(p), std::vector<int>{command})
                    << "button " << i << " at " << p.x() << "," << p.y();
            }
            if (i + 1 < count) {
                for (int x = area.right() + 1; x < bar.PressArea(i + 1).left(); ++x) {
                    EXPECT_TRUE(Click(QPoint(x, area.center().y())).empty()) << x;
                }
            }
        }
        EXPECT_TRUE(Click(bar.PressArea(count - 1).topRight() + QPoint(10, 0)).empty());
    }
};

TEST(ButtonBars, EveryButtonSendsItsCommandAcrossItsPressAreaOnly) {
    Shown<CToolPalette> palette;
    palette.ExpectCommands(16, 100, 110);
    Shown<CCommandBar> bar;
    bar.ExpectCommands(26, 130, -1);
}

// Hover and press are painted; moving off, releasing elsewhere or leaving the window while pressed
// cancels. Gradients are checked a row into the highlight, where they have barely left their top colour.
TEST(ButtonBars, StatesFollowThePointer) {
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 6 && std::abs(qGreen(a) - qGreen(b)) <= 6 &&
               std::abs(qBlue(a) - qBlue(b)) <= 6;
    };
    Shown<CToolPalette> palette;
    const QPoint undo = palette.bar.PressArea(7).center();
    QTest::mouseMove(&palette.bar, undo);
    EXPECT_EQ((std::array{palette.bar.State(7), palette.bar.State(6)}),
              (std::array{CButtonBar::kHover, CButtonBar::kNormal}));
    const int left = palette.bar.PressArea(7).left() - 4;  // highlight starts one pixel into the slot
    QImage shot = palette.bar.grab().toImage();
    EXPECT_EQ(shot.pixel(left, 2), qRgb(0, 0, 128));                  // outline corner
    EXPECT_TRUE(near(shot.pixel(left + 2, 3), qRgb(255, 254, 220)));  // hover gradient starts pale
    QTest::mousePress(&palette.bar, Qt::LeftButton, {}, undo);
    EXPECT_EQ(palette.bar.State(7), CButtonBar::kPressed);
    shot = palette.bar.grab().toImage();
    EXPECT_TRUE(near(shot.pixel(left + 2, 3), qRgb(254, 130, 64)));  // pressed gradient starts deep orange
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&palette.bar, &leave);
    EXPECT_EQ(palette.bar.State(7), CButtonBar::kNormal);
    QTest::mouseRelease(&palette.bar, Qt::LeftButton, {}, undo);
    EXPECT_TRUE(palette.spy.isEmpty());

    const QPoint text = palette.bar.PressArea(1).center();
    EXPECT_TRUE(palette.Click(text, palette.bar.PressArea(2).center()).empty());  // released over the next
    QTest::mousePress(&palette.bar, Qt::LeftButton, {}, text);  // released below with no move between
    QTest::mouseRelease(&palette.bar, Qt::LeftButton, {}, text + QPoint(0, 60));
    EXPECT_TRUE(palette.spy.isEmpty());
}

// Each button names itself, differently from its neighbours, in the interface language, and a
// tooltip event shows it after the style's half second.
TEST(ButtonBars, TooltipsInBothLanguages) {
    CToolPalette palette;
    CCommandBar bar;
    for (const bool chinese : {false, true}) {
        SetChineseInterface(chinese);
        QStringList seen;
        for (const CButtonBar* b : {static_cast<CButtonBar*>(&palette), static_cast<CButtonBar*>(&bar)}) {
            for (int i = 0; i < b->ButtonCount(); ++i) {
                seen << b->ToolTipAt(b->PressArea(i).center());
            }
        }
        for (const QString& tip : seen) {
            const bool hasChinese =
                std::any_of(tip.begin(), tip.end(), [](QChar c) { return c.unicode() >= 0x3000; });
            EXPECT_FALSE(tip.isEmpty());
            EXPECT_EQ(hasChinese, chinese) << tip.toStdString();
        }
        seen.removeDuplicates();
        // Only the English "Left" and "Right" name both a text style and a placing.
        EXPECT_EQ(seen.size(), chinese ? 42 : 40);
    }
    SetChineseInterface(false);
    EXPECT_TRUE(palette.ToolTipAt(QPoint(460, 10)).isEmpty());

    Shown<CToolPalette> shown;
    const QPoint undo = shown.bar.PressArea(7).center();
    QHelpEvent help(QEvent::ToolTip, undo, shown.bar.mapToGlobal(undo));
    QApplication::sendEvent(&shown.bar, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Undo"));
    QHelpEvent none(QEvent::ToolTip, QPoint(460, 10), shown.bar.mapToGlobal(QPoint(460, 10)));
    QApplication::sendEvent(&shown.bar, &none);
    EXPECT_FALSE(none.isAccepted());
    QToolTip::hideText();
    CChromeStyle style;
    EXPECT_EQ(style.styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    EXPECT_EQ(style.styleHint(QStyle::SH_ToolTip_FallAsleepDelay),
              QApplication::style()->styleHint(QStyle::SH_ToolTip_FallAsleepDelay));
}

// The lists offer every family, preferring a Chinese one, and send face and size when a user
// chooses (a programmatic change sends nothing, nor a size without a face).
TEST(FontLists, OfferFamiliesAndSendTheChoice) {
    const std::pair<QStringList, QString> preferred[] = {
        {{"Arial", "宋体", "WenQuanYi Zen Hei"}, "宋体"},
        {{"Only Latin"}, "Only Latin"},
        {{}, ""},
    };
    for (const auto& [families, chosen] : preferred) {
        EXPECT_EQ(CToolPalette::PreferredFamily(families), chosen);
    }
    CToolPalette palette;
    QComboBox* names = palette.FontNameList();
    QComboBox* sizes = palette.FontSizeList();
    EXPECT_EQ(names->count(), QFontDatabase::families().size());
    EXPECT_EQ(names->currentText(), CToolPalette::PreferredFamily(QFontDatabase::families()));
    EXPECT_EQ(sizes->currentText(), QStringLiteral("20"));
    EXPECT_LT(names->geometry().right(), sizes->geometry().left());

    QSignalSpy spy(&palette, &CToolPalette::fontChosen);
    const int last = names->count() - 1;
    names->setCurrentIndex(last);
    EXPECT_EQ(spy.count(), 0);
    emit names->activated(last);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toString(), names->itemText(last));
    EXPECT_EQ(spy[0][1].toInt(), 20);
    sizes->setCurrentIndex(sizes->count() - 1);
    emit sizes->activated(sizes->count() - 1);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][1].toInt(), 72);
    names->setCurrentIndex(-1);
    emit sizes->activated(sizes->count() - 1);
    EXPECT_EQ(spy.count(), 2);
}

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
