// Palette and command bar: where a click sends which command, what cancels it, tooltips, font lists.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "chrome/CChromeStyle.h"
#include "chrome/CCommandBar.h"
#include "chrome/CToolPalette.h"

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
            EXPECT_NE(Click(area.topLeft() - QPoint(1, 0)), std::vector<int>{command})
                << "left of button " << i;
            EXPECT_TRUE(Click(area.bottomRight() + QPoint(0, 1)).empty()) << "below button " << i;
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
    EXPECT_EQ(shot.pixel(left + 42, 39), qRgb(0, 0, 128));            // opposite corner
    EXPECT_TRUE(near(shot.pixel(left + 2, 3), qRgb(255, 254, 220)));  // hover gradient starts pale
    EXPECT_EQ(shot.pixel(left - 2, 20), qRgb(239, 239, 230));         // background beside it
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
        {{"DejaVu Sans", "WenQuanYi Zen Hei"}, "WenQuanYi Zen Hei"},
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

}  // namespace
}  // namespace etiqo
