#include "canvas/CanvasCursors.h"

#include <QPainter>
#include <QPixmap>

namespace etiqo {
namespace {

// Stand-in pictures for the tool cursors (32 × 32): a small arrow with the tool's sign beside it.
QCursor DrawnToolCursor(EditCursor cursor) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPen outline(Qt::white, 1);
    if (cursor == EditCursor::ToolLine) {
        // A cross whose centre (5, 5) is the hot spot, and a slanted line.
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(0, 5, 10, 5);
        p.drawLine(5, 0, 5, 10);
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(14, 28, 28, 14);
        return QCursor(pixmap, 5, 5);
    }
    const QPolygon arrow({{0, 0}, {0, 14}, {4, 10}, {7, 16}, {9, 15}, {6, 9}, {11, 9}});
    p.setPen(outline);
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    const QRect sign(14, 14, 16, 16);
    switch (cursor) {
        case EditCursor::ToolText: {
            QFont font = p.font();
            font.setPixelSize(15);
            font.setBold(true);
            p.setFont(font);
            p.drawText(sign, Qt::AlignCenter, QStringLiteral("T"));
            break;
        }
        case EditCursor::Tool2DCode:
            p.drawRect(sign.adjusted(0, 0, -1, -1));
            p.fillRect(16, 16, 4, 4, Qt::black);
            p.fillRect(24, 16, 4, 4, Qt::black);
            p.fillRect(16, 24, 4, 4, Qt::black);
            p.fillRect(22, 22, 2, 2, Qt::black);
            p.fillRect(25, 25, 3, 2, Qt::black);
            break;
        case EditCursor::ToolBarcode:
            for (const auto& [x, w] : {std::pair{14, 2}, {17, 1}, {19, 3}, {23, 1}, {25, 2}, {28, 1}}) {
                p.fillRect(x, 15, w, 14, Qt::black);
            }
            break;
        case EditCursor::ToolPicture:
            p.drawRect(sign.adjusted(0, 2, -1, -3));
            p.drawPolyline(QPolygon({{15, 25}, {20, 20}, {23, 23}, {25, 21}, {29, 25}}));
            p.drawEllipse(QPoint(25, 19), 1, 1);
            break;
        default:
            break;
    }
    return QCursor(pixmap, 0, 0);
}

}  // namespace

QCursor CursorFor(EditCursor cursor) {
    switch (cursor) {
        case EditCursor::Arrow:
            return Qt::ArrowCursor;
        case EditCursor::SizeNWSE:
            return Qt::SizeFDiagCursor;
        case EditCursor::SizeNS:
            return Qt::SizeVerCursor;
        case EditCursor::SizeNESW:
            return Qt::SizeBDiagCursor;
        case EditCursor::SizeWE:
            return Qt::SizeHorCursor;
        case EditCursor::Cross:
            return Qt::CrossCursor;
        case EditCursor::ToolText:
        case EditCursor::Tool2DCode:
        case EditCursor::ToolBarcode:
        case EditCursor::ToolPicture:
        case EditCursor::ToolLine: {
            return DrawnToolCursor(cursor);
        }
    }
    return Qt::ArrowCursor;
}

std::optional<EditCursor> ToolCursor(int tool) {
    switch (tool) {
        case kToolSelect:
            return EditCursor::Arrow;
        case kToolText:
            return EditCursor::ToolText;
        case kTool2DCode:
            return EditCursor::Tool2DCode;
        case kToolBarcode:
            return EditCursor::ToolBarcode;
        case kToolPicture:
            return EditCursor::ToolPicture;
        case kToolLine:
            return EditCursor::ToolLine;
        case kToolRectangle:
            return EditCursor::Cross;
        case kToolLineEnd:
            return EditCursor::SizeWE;
        default:
            return std::nullopt;
    }
}

}  // namespace etiqo
