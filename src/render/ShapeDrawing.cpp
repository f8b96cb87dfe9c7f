// Lines and shapes: black outlines nPenWidth device pixels wide whatever the zoom, never filled.

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

#include "render/RenderParts.h"

namespace etiqo {

namespace {

constexpr int kMaxPenWidth = 1000;
constexpr int kMaxCornerSize = 1 << 16;

int PenWidth(const Element& element) {
    return std::clamp(element.nPenWidth, 0, kMaxPenWidth);
}

QPen OutlinePen(const Element& element) {
    // GDI's wide pens have round ends and joins; width 0 is one device pixel, as in GDI.
    return QPen(Qt::black, PenWidth(element), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// GDI figures run through pixel centres and stop one pixel short of right and bottom.
QPointF Centre(int x, int y) {
    return QPointF(x + 0.5, y + 0.5);
}
QRectF Outline(const DeviceBox& box) {
    return QRectF(box.left + 0.5, box.top + 0.5, box.width - 1.0, box.height - 1.0);
}

// The figure of nShapeType in the upright box.
void DrawFigure(QPainter& painter, const RenderContext& context, const Element& element,
                const DeviceBox& box) {
    const int right = box.left + box.width;
    const int bottom = box.top + box.height;
    switch (element.nShapeType) {
        case kShapeRectangle:
            painter.drawRect(Outline(box));
            break;
        case kShapeRoundedRectangle: {
            const qreal corner = std::clamp(element.nCornerSize, 0, kMaxCornerSize) / 2.0;
            painter.drawRoundedRect(Outline(box), corner, corner, Qt::AbsoluteSize);
            break;
        }
        case kShapeEllipse:
            painter.drawEllipse(Outline(box));
            break;
        case kShapeTriangle: {
            const int apex = element.nEndX != -1
                                 ? ClampCoordinate(TruncToInt(element.nEndX * context.scale.x + box.left))
                                 : box.left + box.width / 2;
            const QPointF points[] = {Centre(apex, box.top), Centre(box.left, bottom), Centre(right, bottom)};
            painter.drawPolygon(points, 3);
            break;
        }
        case kShapeDiamond: {
            const int midX = box.left + box.width / 2;
            const int midY = box.top + box.height / 2;
            const QPointF points[] = {Centre(midX, box.top), Centre(box.left, midY), Centre(midX, bottom),
                                      Centre(right, midY)};
            painter.drawPolygon(points, 4);
            break;
        }
        default:
            break;  // unknown types draw no figure
    }
}

}  // namespace

void DrawShapeElement(const RenderContext& context, Element& element, int turn) {
    QPainter& painter = context.painter;
    painter.setPen(OutlinePen(element));
    painter.setBrush(Qt::NoBrush);
    const DeviceBox box = ComputeDeviceBox(context, element);
    DeviceBox drawn = box;
    if (turn == 0) {
        DrawFigure(painter, context, element, box);
    } else {
        const RotatedBox rotated = ComputeRotatedBox(context, element, turn);
        drawn = rotated.box;
        if (element.nShapeType == kShapeRectangle) {
            painter.drawRect(Outline(rotated.box));
        } else {
            const QTransform saved = painter.worldTransform();
            painter.setWorldTransform(TurnAbout(turn, rotated.cx, rotated.cy), true);
            DrawFigure(painter, context, element, box);
            painter.setWorldTransform(saved);
        }
    }
    if (WantsGrips(context, element)) {
        DrawGrips(painter, element, drawn.left, drawn.top, drawn.width, drawn.height, 4, GripMiddle::Half);
    }
}

void DrawLineElement(const RenderContext& context, Element& element) {
    QPainter& painter = context.painter;
    painter.setPen(OutlinePen(element));
    if (context.bPrinting) {
        const QPoint end(ClampCoordinate(TruncToInt(element.nEndX / context.lineEndScale.x)),
                         ClampCoordinate(TruncToInt(element.nEndY / context.lineEndScale.y)));
        painter.drawLine(Centre(ClampCoordinate(element.nPosX), ClampCoordinate(element.nPosY)),
                         Centre(end.x(), end.y()));
        return;
    }
    const DeviceBox box = ComputeDeviceBox(context, element);
    const QPoint end(ClampCoordinate(element.nEndX), ClampCoordinate(element.nEndY));
    painter.drawLine(Centre(box.left, box.top), Centre(end.x(), end.y()));
    if (element.bSelected == 1) {
        // The two end marks; a line's grips are not stored in ptGrip.
        const int side = PenWidth(element) + 2;
        const QColor mark(10, 10, 10);
        painter.fillRect(QRect(box.left - 2, box.top - 2, side, side), mark);
        painter.fillRect(QRect(end.x(), end.y(), side, side), mark);
    }
}

}  // namespace etiqo
