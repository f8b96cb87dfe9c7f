#pragma once
// A scroll bar of the view that moves the canvas window itself: the label's coordinates never change,
// only where the canvas sits inside the view.

#include <QPointer>
#include <QScrollBar>

#include "app/CanvasScroll.h"

namespace etiqo {

class CCanvasScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit CCanvasScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The canvas this bar moves; orientation 0 horizontal, 1 vertical.
    void SetTarget(QWidget* canvas, int nOrientation);

    // Range, page and position together: the canvas's size along the axis, the visible view size,
    // and how far the canvas's leading edge lies before the view's.
    void SetCanvasRange(int nCanvasSize, int nViewSize, int nPos);
    ScrollBarState State() const;

    // One step as the bar's arrows, page areas and thumb send it.
    void Scroll(ScrollCode code, int nTrackPos = 0);

    int m_nOrientation = 0;
    QPointer<QWidget> m_pCanvas;

private:
    void OnAction(int action);

    int m_nCanvasSize = 0;
};

}  // namespace etiqo
