#pragma once
// The teal area under the rulers that hosts the label canvas: it keeps the canvas centred, and its two
// scroll bars move the canvas when the zoomed label is larger than the view.

#include <QPointer>
#include <QWidget>

#include "app/CCanvasScrollBar.h"

namespace etiqo {

class CTagoraView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHScrollId = 2001;
    static constexpr int kVScrollId = 2002;

    explicit CTagoraView(QWidget* parent = nullptr);

    // Makes the canvas a child of the view, centres it and follows its size from then on.
    void SetCanvas(QWidget* canvas);
    QWidget* Canvas() const { return m_pCanvas; }

    // x = (view width − canvas width) ÷ 2 and likewise y, never negative.
    QPoint CentredPosition(QSize canvasSize) const;
    void CentreCanvas();
    // Shows a bar where the canvas overflows the view and hides it where it fits, with range, page and
    // position matching where the canvas sits.
    void UpdateScrollBars();

    CCanvasScrollBar m_wndVScroll;
    CCanvasScrollBar m_wndHScroll;

signals:
    // The canvas's top-left corner in view coordinates changed (centring, zoom or scrolling).
    void canvasMoved(QPoint topLeft);
    // Ctrl + wheel over the view: +1 to zoom in, −1 to zoom out.
    void zoomRequested(int nDirection);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_pCanvas;
};

// The backdrop colour around the label.
inline constexpr QRgb kViewBackdrop = 0xFF408080;

}  // namespace etiqo
