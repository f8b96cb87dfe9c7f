#include "print/LabelPreview.h"

#include <QPainter>
#include <QStringList>

#include <QPainterPath>
#include "check/CheckText.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

LabelPreview::LabelPreview(Label& label, LabelPainter painter, QSize viewSize, QWidget* parent)
    : QWidget(parent), m_label(label), m_painter(std::move(painter)), m_viewSize(viewSize) {
    setMinimumSize(120, 120);
}

QRect LabelPreview::PreviewRect(QSize frame, QSize viewSize) {
    const int fw = frame.width();
    const int fh = frame.height();
    const int vw = std::max(viewSize.width(), 1);
    const int vh = std::max(viewSize.height(), 1);
    // A tall label fills the height, a wide one the width; in a frame of another shape than the
    // dialog was drawn for, the other side decides when the first would overflow.
    const bool byHeight = vw <= vh ? vw * (fh - 20) / vh <= fw - 20 : vh * (fw - 20) / vw > fh - 20;
    int pw = 0;
    int ph = 0;
    if (byHeight) {
        ph = fh - 20;
        pw = vw * ph / vh;
    } else {
        pw = fw - 20;
        ph = vh * pw / vw;
    }
    return {(fw - pw) / 2, (fh - ph) / 2 + 3, pw, ph};
}

void LabelPreview::SetUnprintable(QMarginsF fractions) {
    if (fractions != m_unprintable) {
        m_unprintable = fractions;
        update();
    }
}

void LabelPreview::paintEvent(QPaintEvent*) {
    bool moved = false;
    const std::vector<DrawnElement> drawn = DrawnElements(m_label.m_elements);
    const QImage page = RenderLabelPage(m_label, m_painter, moved);
    const PageCheck check = m_checker.CheckPage(page, drawn);
    const QRect target = PreviewRect(size(), m_viewSize);
    if (target.width() > 0 && target.height() > 0) {
        QPainter painter(this);
        // Shrinking averages dots into greys, as a halftone stretch does; enlarging keeps every dot square.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < page.width());
        painter.drawImage(target, page);
        if (!m_unprintable.isNull()) {
            // What the printer cannot print, greyed over the label so that what lies there shows.
            const QRectF area(target);
            const QRectF printable = area.marginsRemoved(
                QMarginsF(m_unprintable.left() * area.width(), m_unprintable.top() * area.height(),
                          m_unprintable.right() * area.width(), m_unprintable.bottom() * area.height()));
            QPainterPath shade;
            shade.addRect(area);
            shade.addRect(printable);  // odd-even fill leaves the printable part clear
            painter.fillPath(shade, QColor(96, 96, 96, 120));
        }
        painter.setTransform(QTransform::fromTranslate(target.x(), target.y())
                                 .scale(static_cast<qreal>(target.width()) / page.width(),
                                        static_cast<qreal>(target.height()) / page.height()));
        painter.setPen(QPen(Qt::red, 0));
        for (const ElementCheck& element : check.elements) {
            if (element.Fails()) {
                painter.drawRect(element.area);
            }
        }
    }
    const std::vector<QString> failures = FailureLines(check);
    QStringList lines(failures.begin(), failures.end());
    const QString summary = check.elements.empty() ? QString()
                            : lines.isEmpty()      ? UiText(TextId::CheckAllRight)
                                                   : UiText(TextId::CheckSomeFail).arg(lines.size()) +
                                                    QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    setToolTip(lines.join(QLatin1Char('\n')));
    if (m_checkShown) {
        m_checkShown(summary);
    }
    if (moved && m_serialsMoved) {
        m_serialsMoved();
    }
}

}  // namespace etiqo
