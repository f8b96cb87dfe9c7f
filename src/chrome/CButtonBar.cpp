#include "chrome/CButtonBar.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "chrome/ButtonBarAccessible.h"
#include "chrome/ChromeColours.h"

#include "res/UiText.h"

namespace etiqo {

CButtonBar::CButtonBar(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The buttons name themselves whether or not the window is the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    InstallButtonBarAccessibility();
    setCursor(Qt::ArrowCursor);
}

void CButtonBar::SetButtons(std::vector<Button> buttons, std::vector<QImage> strips,
                            std::vector<int> separators, bool bTopLine) {
    m_buttons = std::move(buttons);
    m_nState.assign(m_buttons.size(), kNormal);
    m_keys.assign(m_buttons.size(), QString());
    m_strips = std::move(strips);
    m_nSeparators = std::move(separators);
    m_bTopLine = bTopLine;
}

int CButtonBar::ButtonAt(QPoint point) const {
    for (int i = 0; i < ButtonCount(); ++i) {
        if (m_buttons[i].rcHover.contains(point)) {
            return i;
        }
    }
    return -1;
}

QString CButtonBar::ToolTipAt(QPoint point) const {
    const int button = ButtonAt(point);
    return button < 0 ? QString() : ButtonToolTip(button);
}

QString CButtonBar::ButtonName(int button) const {
    return UiText(m_buttons.at(button).tip);
}

QString CButtonBar::ButtonToolTip(int button) const {
    const QString& key = m_keys.at(button);
    return key.isEmpty() ? ButtonName(button) : QStringLiteral("%1 (%2)").arg(ButtonName(button), key);
}

void CButtonBar::SetShortcutKey(int nCommand, const QString& key) {
    for (int i = 0; i < ButtonCount(); ++i) {
        if (m_buttons[i].nCommand == nCommand) {
            m_keys[i] = key;
        }
    }
}

void CButtonBar::Trigger(int button) {
    emit commandPosted(m_buttons.at(button).nCommand);
}

bool CButtonBar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int button = ButtonAt(help->pos());
        if (button >= 0) {
            // Bound to the button's area: moving to the next button switches the tip.
            QToolTip::showText(help->globalPos(), ToolTipAt(help->pos()), this, m_buttons[button].rcHover);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

QRect CButtonBar::DrawnArea(const Button& button) const {
    QRect area = button.rcDrawn;
    area.setBottom(height() - 3);  // the highlight ends 2 pixels above the bottom edge
    return area;
}

void CButtonBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBarBackground);
    if (m_bTopLine) {
        painter.setPen(kBarTopLine);
        painter.drawLine(0, 0, width() - 1, 0);
    }

    for (int i = 0; i < ButtonCount(); ++i) {
        const Button& button = m_buttons[i];
        if (m_nState[i] == kNormal || m_strips[button.nStrip].isNull()) {
            continue;
        }
        const QRect area = DrawnArea(button);
        const bool pressed = m_nState[i] == kPressed;
        QLinearGradient gradient(0, area.top(), 0, area.bottom() + 1);
        gradient.setColorAt(0, pressed ? kPressedTop : kHoverTop);
        gradient.setColorAt(1, pressed ? kPressedBottom : kHoverBottom);
        painter.fillRect(area, gradient);
        painter.setPen(kButtonOutline);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }

    painter.setPen(kSeparator);
    for (const int x : m_nSeparators) {
        painter.drawLine(x, 4, x, height() - 5);
    }

    for (const Button& button : m_buttons) {
        const QImage& strip = m_strips[button.nStrip];
        if (!strip.isNull()) {
            // Source rectangles are in pixels of the 1x strip; a 2x strip has twice as many.
            const qreal ratio = strip.devicePixelRatio();
            const QRectF source(QPointF(button.rcSource.topLeft()) * ratio,
                                QSizeF(button.rcSource.size()) * ratio);
            painter.drawImage(QPointF(button.ptImage), strip, source.intersected(QRectF(strip.rect())));
        }
    }
}

void CButtonBar::SetState(int button, int state) {
    if (m_nState[button] != state) {
        m_nState[button] = state;
        update(DrawnArea(m_buttons[button]));
    }
}

void CButtonBar::TrackPointer(QPoint point) {
    m_bTracking = true;
    for (int i = 0; i < ButtonCount(); ++i) {
        if (!m_buttons[i].rcHover.contains(point)) {
            SetState(i, kNormal);  // leaving a pressed button cancels it
        } else if (m_nState[i] == kNormal) {
            SetState(i, kHover);
        }
    }
}

void CButtonBar::mouseMoveEvent(QMouseEvent* event) {
    TrackPointer(event->position().toPoint());
}

void CButtonBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    TrackPointer(point);  // a press may come without a move before it (a window just shown under the pointer)
    for (int i = 0; i < ButtonCount(); ++i) {
        if (m_nState[i] == kHover && m_buttons[i].rcPress.contains(point)) {
            SetState(i, kPressed);
        }
    }
}

void CButtonBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    for (int i = 0; i < ButtonCount(); ++i) {
        if (m_nState[i] == kPressed && m_buttons[i].rcPress.contains(point)) {
            SetState(i, kHover);
            emit commandPosted(m_buttons[i].nCommand);
        }
    }
}

void CButtonBar::leaveEvent(QEvent*) {
    m_bTracking = false;
    for (int i = 0; i < ButtonCount(); ++i) {
        SetState(i, kNormal);
    }
}

}  // namespace etiqo
