#include "app/CTagoraView.h"

#include <QApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace etiqo {

CTagoraView::CTagoraView(QWidget* parent)
    : QWidget(parent), m_wndVScroll(Qt::Vertical, this), m_wndHScroll(Qt::Horizontal, this) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the backdrop covers everything; nothing to erase
    m_wndHScroll.hide();
    m_wndVScroll.hide();
    m_wndHScroll.setObjectName(QStringLiteral("hscroll%1").arg(kHScrollId));
    m_wndVScroll.setObjectName(QStringLiteral("vscroll%1").arg(kVScrollId));
}

void CTagoraView::SetCanvas(QWidget* canvas) {
    if (m_pCanvas) {
        m_pCanvas->removeEventFilter(this);
    }
    m_pCanvas = canvas;
    m_wndHScroll.SetTarget(canvas, 0);
    m_wndVScroll.SetTarget(canvas, 1);
    if (!canvas) {
        return;
    }
    canvas->setParent(this);
    canvas->installEventFilter(this);
    canvas->show();
    m_wndHScroll.raise();
    m_wndVScroll.raise();
    CentreCanvas();
}

QPoint CTagoraView::CentredPosition(QSize canvasSize) const {
    return {std::max(0, (width() - canvasSize.width()) / 2),
            std::max(0, (height() - canvasSize.height()) / 2)};
}

void CTagoraView::CentreCanvas() {
    if (!m_pCanvas) {
        return;
    }
    // Moving sends the canvas a move event, which updates the bars and tells the rulers; an unmoved
    // canvas still needs both after the view changed size.
    m_pCanvas->move(CentredPosition(m_pCanvas->size()));
    UpdateScrollBars();
    emit canvasMoved(m_pCanvas->pos());
}

void CTagoraView::UpdateScrollBars() {
    if (!m_pCanvas) {
        return;
    }
    const QRect rc = m_pCanvas->geometry();
    const int nBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &m_wndHScroll);
    // A bar is needed where the canvas overflows what the view shows; one bar takes room from the other axis.
    bool bHorz = rc.width() > width();
    bool bVert = rc.height() > height();
    bHorz = bHorz || (bVert && rc.width() > width() - nBar);
    bVert = bVert || (bHorz && rc.height() > height() - nBar);
    const int nVisibleW = width() - (bVert ? nBar : 0);
    const int nVisibleH = height() - (bHorz ? nBar : 0);

    m_wndHScroll.setVisible(bHorz);
    m_wndVScroll.setVisible(bVert);
    if (bHorz) {
        m_wndHScroll.setGeometry(0, height() - nBar, nVisibleW, nBar);
        m_wndHScroll.SetCanvasRange(rc.width(), nVisibleW, std::max(0, -rc.left()));
    }
    if (bVert) {
        m_wndVScroll.setGeometry(width() - nBar, 0, nBar, nVisibleH);
        m_wndVScroll.SetCanvasRange(rc.height(), nVisibleH, std::max(0, -rc.top()));
    }
}

void CTagoraView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgb(kViewBackdrop));
}

void CTagoraView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size().width() > 0) {
        CentreCanvas();
    }
}

void CTagoraView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->angleDelta().y() != 0) {
        emit zoomRequested(event->angleDelta().y() > 0 ? +1 : -1);
        event->accept();
        return;
    }
    // The wheel scrolls the label when it is larger than the view: vertically, or sideways with Shift.
    const bool bSideways = event->modifiers().testFlag(Qt::ShiftModifier) || event->angleDelta().y() == 0;
    CCanvasScrollBar& bar = bSideways || !m_wndVScroll.isVisible() ? m_wndHScroll : m_wndVScroll;
    if (!bar.isVisible()) {
        event->ignore();
        return;
    }
    const int nSteps =
        (event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x()) / 120;
    for (int i = 0; i < std::abs(nSteps) * 3; ++i) {
        bar.Scroll(nSteps > 0 ? ScrollCode::LineBack : ScrollCode::LineForward);
    }
    event->accept();
}

bool CTagoraView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pCanvas && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        // Layout and zoom place the canvas themselves; the bars and the rulers follow.
        UpdateScrollBars();
        emit canvasMoved(m_pCanvas->pos());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace etiqo
