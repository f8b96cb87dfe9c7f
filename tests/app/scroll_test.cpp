// The view's scroll bars: the arithmetic of one step, and the bars on a real view with a canvas.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "app/CTagoraView.h"
#include "app/CanvasScroll.h"

namespace etiqo {
namespace {

// A 1000-pixel canvas seen through 400 pixels: limit 601.
ScrollBarState State(int nPos) {
    return {1000, 400, nPos, ScrollLimit(1000, 400)};
}

struct StepCase {
    const char* name;
    ScrollCode code;
    bool bHorizontal;
    int nPos;
    int nTrack;
    int nLeading;  // the canvas's leading edge before the step (trailing = leading + 1000)
    int nWantPos;
    int nWantLeading;
};

class ScrollStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ScrollStep, MovesTheCanvas) {
    const StepCase& c = GetParam();
    const ScrollResult r =
        ComputeCanvasScroll(c.code, c.bHorizontal, State(c.nPos), c.nTrack, c.nLeading, c.nLeading + 1000);
    EXPECT_EQ(r.nPos, c.nWantPos);
    EXPECT_EQ(r.nLeading, c.nWantLeading);
}

// d for a line = (10·1000 − 10·400) ÷ 601 = 9; for a page = 600·400 ÷ 601 = 399.
INSTANTIATE_TEST_SUITE_P(
    Steps, ScrollStep,
    ::testing::Values(
        StepCase{"LineBackStopsAtTheEdge", ScrollCode::LineBack, false, 4, 0, -4, 0, 0},
        StepCase{"LineBackFullStep", ScrollCode::LineBack, false, 100, 0, -100, 90, -91},
        StepCase{"LineBackHorizontalAtZero", ScrollCode::LineBack, true, 0, 0, -3, 0, -3},
        StepCase{"LineForward", ScrollCode::LineForward, true, 0, 0, 0, 10, -9},
        StepCase{"LineForwardStopsAtTheEnd", ScrollCode::LineForward, false, 596, 0, -596, 601, -600},
        StepCase{"LineForwardHorizontalAtLimit", ScrollCode::LineForward, true, 601, 0, -600, 601, -600},
        StepCase{"PageBackToZero", ScrollCode::PageBack, false, 300, 0, -300, 0, 0},
        StepCase{"PageBack", ScrollCode::PageBack, false, 500, 0, -500, 100, -101},
        StepCase{"PageForward", ScrollCode::PageForward, false, 0, 0, 0, 400, -399},
        StepCase{"PageForwardToTheEnd", ScrollCode::PageForward, false, 400, 0, -399, 601, -600},
        StepCase{"ThumbToTheEnd", ScrollCode::ThumbTrack, true, 0, 601, 0, 601, -600},
        StepCase{"ThumbHalfway", ScrollCode::ThumbTrack, true, 0, 300, 0, 300, -299},
        StepCase{"OtherCodesDoNothing", ScrollCode::Other, true, 50, 0, -50, 50, -50}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollStep, NothingWithoutARange) {
    const ScrollResult r = ComputeCanvasScroll(ScrollCode::PageForward, false, {300, 400, 0, 0}, 0, 10, 310);
    EXPECT_EQ(r.nPos, 0);
    EXPECT_EQ(r.nLeading, 10);
}

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(800, 500);
        canvas = new QWidget;
        canvas->resize(375, 300);
        view.SetCanvas(canvas);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    CTagoraView view;
    QWidget* canvas = nullptr;  // owned by the view
};

TEST_F(ViewFixture, CentresTheCanvasOnTealWithoutBars) {
    EXPECT_EQ(canvas->pos(), QPoint(212, 100));
    EXPECT_FALSE(view.m_wndHScroll.isVisible());
    EXPECT_FALSE(view.m_wndVScroll.isVisible());
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0x40, 0x80, 0x80));
}

TEST_F(ViewFixture, ATallerCanvasSitsAtTheTop) {
    canvas->resize(375, 600);
    view.CentreCanvas();
    EXPECT_EQ(canvas->pos(), QPoint(212, 0));
    EXPECT_TRUE(view.m_wndVScroll.isVisible());
    EXPECT_FALSE(view.m_wndHScroll.isVisible());
}

TEST_F(ViewFixture, DraggingTheThumbToTheEndShowsTheRightEdge) {
    canvas->setGeometry(-100, 50, 1200, 300);  // as a zoom leaves it
    ASSERT_TRUE(view.m_wndHScroll.isVisible());
    EXPECT_EQ(view.m_wndHScroll.value(), 100);
    const int nVisible = view.m_wndHScroll.pageStep();
    EXPECT_EQ(nVisible, 800);

    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_NEAR(canvas->geometry().right() + 1, nVisible, 1);
    EXPECT_EQ(canvas->y(), 50);  // the other coordinate stays

    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(canvas->x(), 0);
}

TEST_F(ViewFixture, ArrowStepsMoveTheCanvasByALine) {
    canvas->setGeometry(-4, 0, 1200, 300);
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(canvas->x(), 0);  // 4 pixels, not a whole line
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(canvas->x(), -9);  // (10 × 1200 − 10 × 800) ÷ 401
}

TEST_F(ViewFixture, GrowingTheWindowAfterAZoomUpdatesTheBars) {
    canvas->setGeometry(-100, -50, 1000, 600);
    ASSERT_TRUE(view.m_wndHScroll.isVisible());
    ASSERT_TRUE(view.m_wndVScroll.isVisible());
    view.resize(1200, 800);
    EXPECT_FALSE(view.m_wndHScroll.isVisible());
    EXPECT_FALSE(view.m_wndVScroll.isVisible());
    EXPECT_EQ(canvas->pos(), QPoint(100, 100));
    view.resize(900, 800);
    EXPECT_TRUE(view.m_wndHScroll.isVisible());
    EXPECT_EQ(view.m_wndHScroll.maximum(), ScrollLimit(1000, 900));
}

}  // namespace
}  // namespace etiqo
