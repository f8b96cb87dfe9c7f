// The view's scroll bars: the arithmetic of one step, and the bars on a real view with a canvas.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "app/CTagoraView.h"
#include "app/CanvasScroll.h"

namespace etiqo {
namespace {

// d for a line = (10·1000 − 10·400) ÷ 601 = 9; for a page = 600·400 ÷ 601 = 399.
TEST(ScrollStep, MovesTheCanvas) {
    const struct {
        const char* name;
        ScrollCode code;
        bool bHorizontal;
        int nPos, nTrack, nLeading;  // the canvas's leading edge before the step (trailing = leading + 1000)
        int nWantPos, nWantLeading;
    } rows[] = {
        {"LineBackStopsAtTheEdge", ScrollCode::LineBack, false, 4, 0, -4, 0, 0},
        {"LineBackFullStep", ScrollCode::LineBack, false, 100, 0, -100, 90, -91},
        {"LineBackHorizontalAtZero", ScrollCode::LineBack, true, 0, 0, -3, 0, -3},
        {"LineForward", ScrollCode::LineForward, true, 0, 0, 0, 10, -9},
        {"LineForwardStopsAtTheEnd", ScrollCode::LineForward, false, 596, 0, -596, 601, -600},
        {"LineForwardHorizontalAtLimit", ScrollCode::LineForward, true, 601, 0, -600, 601, -600},
        {"PageBackToZero", ScrollCode::PageBack, false, 300, 0, -300, 0, 0},
        {"PageBack", ScrollCode::PageBack, false, 500, 0, -500, 100, -101},
        {"PageForward", ScrollCode::PageForward, false, 0, 0, 0, 400, -399},
        {"PageForwardToTheEnd", ScrollCode::PageForward, false, 400, 0, -399, 601, -600},
        {"ThumbToTheEnd", ScrollCode::ThumbTrack, true, 0, 601, 0, 601, -600},
        {"ThumbHalfway", ScrollCode::ThumbTrack, true, 0, 300, 0, 300, -299},
        {"OtherCodesDoNothing", ScrollCode::Other, true, 50, 0, -50, 50, -50},
    };
    for (const auto& c : rows) {
        const ScrollResult r =
            ComputeCanvasScroll(c.code, c.bHorizontal, {1000, 400, c.nPos, ScrollLimit(1000, 400)}, c.nTrack,
                                c.nLeading, c.nLeading + 1000);
        EXPECT_EQ((std::array{r.nPos, r.nLeading}), (std::array{c.nWantPos, c.nWantLeading})) << c.name;
    }
    const ScrollResult none =
        ComputeCanvasScroll(ScrollCode::PageForward, false, {300, 400, 0, 0}, 0, 10, 310);
    EXPECT_EQ((std::array{none.nPos, none.nLeading}), (std::array{0, 10})) << "nothing without a range";
}

// A small canvas is centred on teal without bars; a taller one sits at the top with a vertical bar;
// the bars follow a zoom and a resized window, and their steps move the canvas.
TEST(View, CentresTheCanvasAndScrollsIt) {
    CTagoraView view;
    view.resize(800, 500);
    auto* canvas = new QWidget;  // owned by the view
    canvas->resize(375, 300);
    view.SetCanvas(canvas);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(canvas->pos(), QPoint(212, 100));
    EXPECT_FALSE(view.m_wndHScroll.isVisible() || view.m_wndVScroll.isVisible());
    EXPECT_EQ(view.grab().toImage().pixelColor(5, 5), QColor(0x40, 0x80, 0x80));
    canvas->resize(375, 600);
    view.CentreCanvas();
    EXPECT_EQ(canvas->pos(), QPoint(212, 0));
    EXPECT_TRUE(view.m_wndVScroll.isVisible());
    EXPECT_FALSE(view.m_wndHScroll.isVisible());

    canvas->setGeometry(-100, 50, 1200, 300);  // as a zoom leaves it
    ASSERT_TRUE(view.m_wndHScroll.isVisible());
    EXPECT_EQ(view.m_wndHScroll.value(), 100);
    EXPECT_EQ(view.m_wndHScroll.pageStep(), 800);
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_NEAR(canvas->geometry().right() + 1, 800, 1);
    EXPECT_EQ(canvas->y(), 50);  // the other coordinate stays
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(canvas->x(), 0);
    canvas->setGeometry(-4, 0, 1200, 300);
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(canvas->x(), 0);  // 4 pixels, not a whole line
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(canvas->x(), -9);  // (10 × 1200 − 10 × 800) ÷ 401

    canvas->setGeometry(-100, -50, 1000, 600);
    ASSERT_TRUE(view.m_wndHScroll.isVisible() && view.m_wndVScroll.isVisible());
    view.resize(1200, 800);
    EXPECT_FALSE(view.m_wndHScroll.isVisible() || view.m_wndVScroll.isVisible());
    EXPECT_EQ(canvas->pos(), QPoint(100, 100));
    view.resize(900, 800);
    EXPECT_TRUE(view.m_wndHScroll.isVisible());
    EXPECT_EQ(view.m_wndHScroll.maximum(), ScrollLimit(1000, 900));
}

}  // namespace
}  // namespace etiqo
