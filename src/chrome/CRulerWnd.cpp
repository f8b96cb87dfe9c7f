#include "chrome/CRulerWnd.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegion>

#include "chrome/RulerTicks.h"

namespace etiqo {

namespace {

constexpr QColor kBackground(0xF5, 0xF5, 0xF5);
constexpr QColor kBorder(0x96, 0x96, 0x96);
constexpr QColor kTick(0x40, 0x80, 0x80);  // numbers share the colour of the ticks
constexpr int kBand = 24;                  // band thickness inside the borders
constexpr int kRegionBand = 25;
constexpr int kMajorFrom = 14;
constexpr int kMinorFrom = 17;

QFont NumberFont() {
    // The renderer's label font family, bold; where it is missing the CJK substitute stands in.
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(12);  // 9 points at 96 dpi
    font.setBold(true);
    return font;
}

}  // namespace

CRulerWnd::CRulerWnd(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted each time; Qt's backing store gives the off-screen buffer, so resizing and
    // zooming repaint without flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void CRulerWnd::ResizeRuler(int cx, int cy) {
    setGeometry(0, 84, cx, cy - 104);
    setMask(QRegion(0, 0, cx, cy).xored(QRegion(kRegionBand, kRegionBand, cx, cy)));
    update();
}

void CRulerWnd::SetCanvasPos(int nLeft, int nTop) {
    m_nCanvasLeft = nLeft;
    m_nCanvasTop = nTop;
    update();
}

void CRulerWnd::SetLabelMetrics(int nWidthMM, int nHeightMM, int nViewWidth, int nViewHeight) {
    m_nLabelWidthMM = nWidthMM;
    m_nLabelHeightMM = nHeightMM;
    m_nViewWidth = nViewWidth;
    m_nViewHeight = nViewHeight;
    update();
}

void CRulerWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawRuler(painter, size());
}

void CRulerWnd::DrawRuler(QPainter& painter, QSize size) const {
    const int W = size.width();
    const int H = size.height();
    painter.fillRect(0, 0, W, H, kBackground);

    painter.setPen(QPen(kBorder, 1));
    painter.drawLine(1, 0, W - 1, 0);
    painter.drawLine(1, 0, 1, H - 1);
    painter.drawLine(kBand, kBand, W - 1, kBand);
    painter.drawLine(kBand, kBand, kBand, H - 1);

    const QFont font = NumberFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A number is centred on its tick by the width of its first digit, as all digits are equally wide.
    auto halfWidth = [&](const QString& text) {
        return text.size() * metrics.horizontalAdvance(text[0]) * 0.5;
    };

    for (const RulerTick& tick : ComputeRulerTicks(m_nViewWidth, m_nLabelWidthMM, m_nCanvasLeft, W)) {
        painter.setPen(QPen(kTick, 1));
        painter.drawLine(tick.nPos, tick.bMajor ? kMajorFrom : kMinorFrom, tick.nPos, kBand - 1);
        if (tick.bMajor) {
            const QString text = QString::number(tick.nValueMM);
            painter.drawText(QRectF(tick.nPos - halfWidth(text) + 1.0, 2, 30, 13),
                             Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
    for (const RulerTick& tick : ComputeRulerTicks(m_nViewHeight, m_nLabelHeightMM, m_nCanvasTop, H)) {
        painter.setPen(QPen(kTick, 1));
        painter.drawLine(tick.bMajor ? kMajorFrom : kMinorFrom, tick.nPos, kBand - 1, tick.nPos);
        if (tick.bMajor) {
            const QString text = QString::number(tick.nValueMM);
            // The shift of 5 along the band lines the turned number up with its tick; zero keeps its place.
            const int y = static_cast<int>(tick.nPos - halfWidth(text) + (tick.nPos != kBand ? 5 : 0) -
                                           (tick.nIndex == 0 ? 5 : 0));
            DrawRotatedString(painter, text, font, kTick, 0, y, -90.0);
        }
    }
}

void DrawRotatedString(QPainter& painter, const QString& text, const QFont& font, const QColor& colour, int x,
                       int y, double fAngle) {
    const QFontMetricsF metrics(font);
    const QSizeF box(metrics.horizontalAdvance(text), metrics.height());
    const QPointF centre(x + box.width() / 2, y + box.height() / 2);
    painter.save();
    painter.translate(centre);
    painter.rotate(fAngle);
    painter.translate(-centre);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRectF(QPointF(x, y), box), Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

}  // namespace etiqo
