#include "app/CCanvasScrollBar.h"

#include <QSignalBlocker>

namespace etiqo {

CCanvasScrollBar::CCanvasScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    setSingleStep(kScrollLine);
    connect(this, &QAbstractSlider::actionTriggered, this, &CCanvasScrollBar::OnAction);
}

void CCanvasScrollBar::SetTarget(QWidget* canvas, int nOrientation) {
    m_pCanvas = canvas;
    m_nOrientation = nOrientation;
}

void CCanvasScrollBar::SetCanvasRange(int nCanvasSize, int nViewSize, int nPos) {
    m_nCanvasSize = nCanvasSize;
    const QSignalBlocker blocker(this);
    setPageStep(std::max(nViewSize, 1));
    setRange(0, ScrollLimit(nCanvasSize, nViewSize));
    setValue(nPos);
}

ScrollBarState CCanvasScrollBar::State() const {
    return {m_nCanvasSize, pageStep(), value(), maximum()};
}

void CCanvasScrollBar::Scroll(ScrollCode code, int nTrackPos) {
    if (!m_pCanvas) {
        return;
    }
    const bool bHorizontal = m_nOrientation == 0;
    const QRect rc = m_pCanvas->geometry();
    const int nLeading = bHorizontal ? rc.left() : rc.top();
    const int nTrailing = nLeading + (bHorizontal ? rc.width() : rc.height());
    const ScrollResult result =
        ComputeCanvasScroll(code, bHorizontal, State(), nTrackPos, nLeading, nTrailing);
    {
        const QSignalBlocker blocker(this);
        setSliderPosition(result.nPos);
        setValue(result.nPos);
    }
    if (result.nLeading != nLeading) {
        m_pCanvas->move(bHorizontal ? QPoint(result.nLeading, rc.top()) : QPoint(rc.left(), result.nLeading));
    }
}

void CCanvasScrollBar::OnAction(int action) {
    // Qt has already moved sliderPosition for the action; value() still holds the old position.
    switch (action) {
        case SliderSingleStepSub:
            Scroll(ScrollCode::LineBack);
            break;
        case SliderSingleStepAdd:
            Scroll(ScrollCode::LineForward);
            break;
        case SliderPageStepSub:
            Scroll(ScrollCode::PageBack);
            break;
        case SliderPageStepAdd:
            Scroll(ScrollCode::PageForward);
            break;
        case SliderMove:
        case SliderToMinimum:
        case SliderToMaximum:
            Scroll(ScrollCode::ThumbTrack, sliderPosition());
            break;
        default:
            Scroll(ScrollCode::Other);
            break;
    }
}

}  // namespace etiqo
