#include "render/ElementRenderer.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>

#include "model/TextCodec.h"
#include "render/RenderParts.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kMaxCoordinate, kMaxCoordinate));
}

DeviceBox ComputeDeviceBox(const RenderContext& context, const Element& element) {
    return DeviceBox{ClampCoordinate(DotsToPixels(element.nPosX, context.scale.x)),
                     ClampCoordinate(DotsToPixels(element.nPosY, context.scale.y)),
                     ClampCoordinate(DotsToPixels(element.nWidth, context.scale.x)),
                     ClampCoordinate(DotsToPixels(element.nHeight, context.scale.y))};
}

int QuarterTurn(std::int32_t escapement) {
    const int angle = ((escapement % 3600) + 3600) % 3600;
    return (angle + 450) / 900 % 4 * 900;
}

QString RecordText(std::string_view bytes) {
    return QString::fromStdString(Utf8FromGb18030(bytes));
}

void DrawGrips(QPainter& painter, Element& element, int left, int top, int width, int height, int gap,
               GripMiddle middle) {
    const int right = ClampCoordinate(std::int64_t{left} + width);
    const int bottom = ClampCoordinate(std::int64_t{top} + height);
    const int cy = top + height / 2;
    const int m = middle == GripMiddle::Half ? left + width / 2 : left + (width + 16) / 2;
    const GripPoint corners[8] = {
        {left - 8, top - 8},   {m, top - 8},           {right + gap, top - 8}, {left - 8, cy - 2},
        {right + gap, cy - 4}, {left - 8, bottom + 2}, {m, bottom + 2},        {right + gap, bottom + 2},
    };
    for (int i = 0; i < 8; ++i) {
        element.ptGrip[i] = corners[i];
        painter.fillRect(QRect(corners[i].x, corners[i].y, 4, 4), Qt::black);
    }
}

RotatedBox ComputeRotatedBox(const RenderContext& context, const Element& element, int turn) {
    const DeviceBox box = ComputeDeviceBox(context, element);
    RotatedBox rotated;
    rotated.cx = ClampCoordinate(TruncToInt(box.left + element.nWidth * context.scale.x * 0.5));
    rotated.cy = ClampCoordinate(TruncToInt(box.top + element.nHeight * context.scale.y * 0.5));
    if (turn == 1800) {
        rotated.box = {rotated.cx - box.width / 2, rotated.cy - box.height / 2, box.width, box.height};
    } else {
        rotated.box = {rotated.cx - box.height / 2, rotated.cy - box.width / 2,
                       ClampCoordinate(DotsToPixels(element.nHeight, context.scale.x)),
                       ClampCoordinate(DotsToPixels(element.nWidth, context.scale.y))};
    }
    return rotated;
}

QTransform TurnAbout(int turn, qreal cx, qreal cy) {
    switch (turn) {
        case 900:
            return QTransform(0, -1, 1, 0, cx - cy, cy + cx);
        case 1800:
            return QTransform(-1, 0, 0, -1, 2 * cx, 2 * cy);
        default:  // 2700
            return QTransform(0, 1, -1, 0, cx + cy, cy - cx);
    }
}

void DrawElement(const RenderContext& context, Element& element) {
    const int turn = QuarterTurn(element.nEscapement);
    QPainter& painter = context.painter;
    painter.save();
    switch (element.nKind) {
        case ElementKind::Text:
            if (turn != 0) {
                DrawRotatedText(context, element, turn);
            } else {
                DrawTextElement(context, element);
            }
            break;
        case ElementKind::Picture:
            if (!QFileInfo::exists(RecordText(ContentBytes(element)))) {
                if (context.warn) {
                    context.warn(UiText(TextId::RenderPictureMissing)
                                     .arg(RecordText(ContentBytes(element)))
                                     .toStdString());
                }
                break;
            }
            DrawPictureElement(context, element, turn);
            break;
        case ElementKind::Barcode:
            // Our own EAN-13 is turned like a shape: zint knows no symbology 113.
            if (element.nSymbology == kSymbologyOwnEan13) {
                DrawEan13Element(context, element, turn);
            } else if (turn != 0) {
                DrawRotatedBarcode(context, element, turn);
            } else {
                DrawBarcodeElement(context, element);
            }
            break;
        case ElementKind::Code2D:
            Draw2DCodeElement(context, element);
            break;
        case ElementKind::Line:
            DrawLineElement(context, element);
            break;
        case ElementKind::Shape:
            if (!context.bPrinting && element.nWidth == 0 && element.nHeight == 0) {
                break;
            }
            DrawShapeElement(context, element, turn);
            break;
    }
    painter.restore();
}

void PrepareForOutput(const RenderContext& screen, Element& element) {
    if (element.nKind == ElementKind::Code2D) {
        Encode2DCodeIfNeeded(screen, element);
    } else if (element.nKind == ElementKind::Text) {
        MeasureUnsizedText(screen, element);
        // The screen paint stands every upright text up; a label printed without ever being shown
        // must not come out turned by a stale stored escapement.
        if (QuarterTurn(element.nEscapement) == 0) {
            element.lfFont.lfEscapement = 0;
        }
    }
}

}  // namespace etiqo
