// Palette and command bar: where a click sends which command, what cancels it, tooltips, font lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QColor>
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

class LanguageGuard {
public:
    explicit LanguageGuard(bool chinese) : m_bSaved(IsChineseInterface()) { SetChineseInterface(chinese); }
    ~LanguageGuard() { SetChineseInterface(m_bSaved); }

private:
    bool m_bSaved;
};

// A bar shown at the size the frame gives it.
template <typename Bar>
struct Shown {
    Bar bar;
    QSignalSpy spy{&bar, &CButtonBar::commandPosted};
    Shown() {
        bar.setGeometry(0, 0, 1400, 42);
        bar.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }
    void Click(QPoint press, QPoint release) {
        QTest::mouseMove(&bar, press);
        QTest::mousePress(&bar, Qt::LeftButton, {}, press);
        if (release != press) {
            QTest::mouseMove(&bar, release);
        }
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, release);
    }
    void Click(QPoint point) { Click(point, point); }
    std::vector<int> Sent() {
        std::vector<int> sent;
        for (const auto& args : spy) {
            sent.push_back(args.at(0).toInt());
        }
        spy.clear();
        return sent;
    }
};

// Gradients are checked a row into the highlight, where they have barely moved off their top colour.
bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 6 && std::abs(qGreen(a) - qGreen(b)) <= 6 &&
           std::abs(qBlue(a) - qBlue(b)) <= 6;
}

// Press-area left edges of the palette's buttons by slot (slot 10 has none).
int PaletteX(int slot) {
    return slot < 11 ? (slot < 7 ? 0 : 16) + 43 * slot + 5 : 785 + 32 * (slot - 11);
}
int CommandBarX(int i) {
    return 43 * i + (i <= 2 ? 0 : i <= 4 ? 16 : i <= 8 ? 32 : 48) + 5;
}

TEST(ToolPalette, EveryButtonSendsItsCommandAcrossItsPressArea) {
    Shown<CToolPalette> palette;
    ASSERT_EQ(palette.bar.ButtonCount(), 16);
    for (int slot = 0; slot <= 16; ++slot) {
        if (slot == 10) {
            continue;
        }
        const int x = PaletteX(slot);
        const int width = slot < 11 ? 35 : 32;
        const int bottom = slot < 11 ? 41 : 31;
        for (const QPoint point : {QPoint(x, 0), QPoint(x + width / 2, 20), QPoint(x + width - 1, bottom)}) {
            palette.Click(point);
            EXPECT_EQ(palette.Sent(), std::vector<int>{100 + slot})
                << "slot " << slot << " at " << point.x() << "," << point.y();
        }
    }
}

TEST(ToolPalette, OutsidePressAreasNothingIsSent) {
    Shown<CToolPalette> palette;
    const QPoint misses[] = {
        {PaletteX(0) - 2, 20},    // highlight area of Selection, not its press area
        {PaletteX(3) + 37, 20},   // between BarCode and Picture
        {PaletteX(6) + 40, 20},   // the gap before Undo
        {309, 20},                // separator
        {500, 20},                // font lists' strip, outside the lists
        {PaletteX(11) + 5, 35},   // below the text style buttons' area
        {PaletteX(16) + 40, 20},  // right of the last button
    };
    for (const QPoint point : misses) {
        palette.Click(point);
        EXPECT_TRUE(palette.Sent().empty()) << point.x() << "," << point.y();
    }
}

TEST(ToolPalette, MovingOffWhilePressedCancels) {
    Shown<CToolPalette> palette;
    const QPoint text(PaletteX(1) + 17, 20);
    palette.Click(text, QPoint(PaletteX(2) + 17, 20));  // released over the next button
    EXPECT_TRUE(palette.Sent().empty());
    palette.Click(text, QPoint(PaletteX(1) + 17, 60));  // released below the bar
    EXPECT_TRUE(palette.Sent().empty());
    QTest::mousePress(&palette.bar, Qt::LeftButton, {}, text);  // released there with no move between
    QTest::mouseRelease(&palette.bar, Qt::LeftButton, {}, QPoint(text.x(), 80));
    EXPECT_TRUE(palette.Sent().empty());

    // Leaving the window resets every state, so the release after it sends nothing.
    QTest::mouseMove(&palette.bar, text);
    QTest::mousePress(&palette.bar, Qt::LeftButton, {}, text);
    EXPECT_EQ(palette.bar.State(1), CButtonBar::kPressed);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&palette.bar, &leave);
    EXPECT_EQ(palette.bar.State(1), CButtonBar::kNormal);
    QTest::mouseRelease(&palette.bar, Qt::LeftButton, {}, text);
    EXPECT_TRUE(palette.Sent().empty());
}

TEST(ToolPalette, HoverAndPressStatesArePainted) {
    Shown<CToolPalette> palette;
    const QPoint undo(PaletteX(7) + 17, 20);
    QTest::mouseMove(&palette.bar, undo);
    EXPECT_EQ(palette.bar.State(7), CButtonBar::kHover);
    EXPECT_EQ(palette.bar.State(6), CButtonBar::kNormal);
    const int left = PaletteX(7) - 4;  // highlight starts one pixel into the slot
    QImage shot = palette.bar.grab().toImage();
    EXPECT_EQ(shot.pixel(left, 2), qRgb(0, 0, 128));                  // outline corner
    EXPECT_EQ(shot.pixel(left + 42, 39), qRgb(0, 0, 128));            // opposite corner
    EXPECT_TRUE(Near(shot.pixel(left + 2, 3), qRgb(255, 254, 220)));  // hover gradient starts pale
    EXPECT_EQ(shot.pixel(left - 2, 20), qRgb(239, 239, 230));         // background beside it
    EXPECT_EQ(shot.pixel(309, 20), qRgb(202, 198, 175));              // separator
    EXPECT_EQ(shot.pixel(309, 3), qRgb(239, 239, 230));
    EXPECT_EQ(shot.pixel(600, 0), qRgb(200, 200, 200));  // top line

    QTest::mousePress(&palette.bar, Qt::LeftButton, {}, undo);
    EXPECT_EQ(palette.bar.State(7), CButtonBar::kPressed);
    shot = palette.bar.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(left + 2, 3), qRgb(254, 130, 64)));  // pressed gradient starts deep orange
    QTest::mouseRelease(&palette.bar, Qt::LeftButton, {}, undo);
    EXPECT_EQ(palette.bar.State(7), CButtonBar::kHover);
}

TEST(CommandBar, EveryButtonSendsItsCommand) {
    Shown<CCommandBar> bar;
    ASSERT_EQ(bar.bar.ButtonCount(), 26);
    for (int i = 0; i < 26; ++i) {
        for (const int dx : {0, 17, 34}) {
            bar.Click(QPoint(CommandBarX(i) + dx, dx == 0 ? 0 : 41));
            EXPECT_EQ(bar.Sent(), std::vector<int>{130 + i}) << "button " << i << " +" << dx;
        }
    }
}

TEST(CommandBar, BetweenButtonsAndOffButtonsNothingIsSent) {
    Shown<CCommandBar> bar;
    for (int i = 0; i < 25; ++i) {
        for (int x = CommandBarX(i) + 35; x < CommandBarX(i + 1); ++x) {
            bar.Click(QPoint(x, 20));
            EXPECT_TRUE(bar.bar.ToolTipAt(QPoint(x, 20)).isEmpty()) << x;
        }
    }
    EXPECT_TRUE(bar.Sent().empty());
    bar.Click(QPoint(CommandBarX(25) + 17, 20), QPoint(CommandBarX(24) + 17, 20));
    EXPECT_TRUE(bar.Sent().empty());
}

// Each button names itself, differently from its neighbours, in the interface language.
TEST(Tooltips, EveryButtonInBothLanguages) {
    CToolPalette palette;
    CCommandBar bar;
    const auto chineseChars = [](const QString& t) {
        return std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0x3000; });
    };
    for (const bool chinese : {false, true}) {
        LanguageGuard language(chinese);
        QStringList seen;
        for (int slot = 0; slot <= 16; ++slot) {
            if (slot != 10) {
                seen << palette.ToolTipAt(QPoint(PaletteX(slot) + 10, 10));
            }
        }
        for (int i = 0; i < 26; ++i) {
            seen << bar.ToolTipAt(QPoint(CommandBarX(i) + 1, 40));
        }
        for (const QString& tip : seen) {
            EXPECT_FALSE(tip.isEmpty());
            EXPECT_EQ(chineseChars(tip), chinese) << tip.toStdString();
        }
        seen.removeDuplicates();
        // Only the English "Left" and "Right" name both a text style and a placing.
        EXPECT_EQ(seen.size(), chinese ? 42 : 40);
    }
    EXPECT_TRUE(palette.ToolTipAt(QPoint(460, 10)).isEmpty());
}

TEST(Tooltips, ToolTipEventShowsTheButtonsText) {
    LanguageGuard english(false);
    Shown<CToolPalette> palette;
    const QPoint undo(PaletteX(7) + 10, 10);
    QHelpEvent help(QEvent::ToolTip, undo, palette.bar.mapToGlobal(undo));
    QApplication::sendEvent(&palette.bar, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Undo"));
    const QPoint redo(PaletteX(8) + 10, 10);
    QHelpEvent next(QEvent::ToolTip, redo, palette.bar.mapToGlobal(redo));
    QApplication::sendEvent(&palette.bar, &next);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Redo"));
    QHelpEvent none(QEvent::ToolTip, QPoint(460, 10), palette.bar.mapToGlobal(QPoint(460, 10)));
    QApplication::sendEvent(&palette.bar, &none);
    EXPECT_FALSE(none.isAccepted());
    QToolTip::hideText();
}

TEST(Tooltips, StyleWakesThemAfterHalfASecond) {
    CChromeStyle style;
    EXPECT_EQ(style.styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    EXPECT_EQ(style.styleHint(QStyle::SH_ToolTip_FallAsleepDelay),
              QApplication::style()->styleHint(QStyle::SH_ToolTip_FallAsleepDelay));
}

TEST(FontLists, SizesAndFamilies) {
    CToolPalette palette;
    QComboBox* sizes = palette.FontSizeList();
    ASSERT_EQ(sizes->count(), 20);
    EXPECT_EQ(sizes->itemText(0), QStringLiteral("4"));
    EXPECT_EQ(sizes->itemText(9), QStringLiteral("14"));
    EXPECT_EQ(sizes->itemText(19), QStringLiteral("72"));
    EXPECT_EQ(sizes->currentText(), QStringLiteral("20"));

    QComboBox* names = palette.FontNameList();
    const QStringList families = QFontDatabase::families();
    EXPECT_EQ(names->count(), families.size());
    EXPECT_EQ(names->currentText(), CToolPalette::PreferredFamily(families));
    EXPECT_FALSE(names->currentText().isEmpty());
    EXPECT_GE(names->geometry().left(), 470);
    EXPECT_EQ(sizes->geometry().left(), 625);
}

TEST(FontLists, PreferredFamily) {
    EXPECT_EQ(CToolPalette::PreferredFamily({"Arial", "宋体", "WenQuanYi Zen Hei"}), QStringLiteral("宋体"));
    EXPECT_EQ(CToolPalette::PreferredFamily({"DejaVu Sans", "WenQuanYi Zen Hei"}),
              QStringLiteral("WenQuanYi Zen Hei"));
    EXPECT_EQ(CToolPalette::PreferredFamily({"Only Latin"}), QStringLiteral("Only Latin"));
    EXPECT_TRUE(CToolPalette::PreferredFamily({}).isEmpty());
}

TEST(FontLists, ChoosingSendsFaceAndSize) {
    CToolPalette palette;
    QSignalSpy spy(&palette, &CToolPalette::fontChosen);
    QComboBox* names = palette.FontNameList();
    const int last = names->count() - 1;
    names->setCurrentIndex(last);  // a programmatic change sends nothing
    EXPECT_EQ(spy.count(), 0);
    emit names->activated(last);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toString(), names->itemText(last));
    EXPECT_EQ(spy[0][1].toInt(), 20);

    palette.FontSizeList()->setCurrentIndex(19);
    emit palette.FontSizeList()->activated(19);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][1].toInt(), 72);

    names->setCurrentIndex(-1);
    emit palette.FontSizeList()->activated(19);
    EXPECT_EQ(spy.count(), 2);  // no face chosen: nothing to send
}

}  // namespace
}  // namespace etiqo
