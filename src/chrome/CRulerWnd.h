#pragma once
// The millimetre rulers along the top and down the left of the editing area: one L-shaped child of the
// main frame, so the view placed inside the L shows through. Zero sits at the canvas's top-left corner.
#include <QWidget>

class QPainter;

namespace etiqo {

class CRulerWnd : public QWidget {
    Q_OBJECT
public:
    explicit CRulerWnd(QWidget* parent = nullptr);

    // The frame's new client size: the ruler covers it from y 84 down to 20 pixels above the bottom,
    // cut to the L shape.
    void ResizeRuler(int cx, int cy);

    // Setters for the fields below that repaint; writing the fields directly needs an update() after.
    void SetCanvasPos(int nLeft, int nTop);
    void SetLabelMetrics(int nWidthMM, int nHeightMM, int nViewWidth, int nViewHeight);

    // Draws the whole ruler for a window of the given size; the paint handler and tests both use it.
    void DrawRuler(QPainter& painter, QSize size) const;

    // Written by the frame, the view and the canvas.
    int m_nCanvasTop = 0;  // canvas position within the view, pixels
    int m_nCanvasLeft = 0;
    int m_nLabelHeightMM = 0;  // label size
    int m_nLabelWidthMM = 0;
    int m_nViewHeight = 0;  // canvas size on screen, pixels
    int m_nViewWidth = 0;
    int m_nRulerStep = 8;  // the canvas's step; the numbers stand at every tenth tick regardless

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Draws text at (x, y) turned by fAngle degrees (clockwise on screen) about the centre of its box.
void DrawRotatedString(QPainter& painter, const QString& text, const QFont& font, const QColor& colour, int x,
                       int y, double fAngle);

}  // namespace etiqo
