// Texts, upright and turned. A text is drawn stretched into its box: the cell height is the box
// height and the average character width the box width shared out over the content's bytes.

#include <QPainter>

#include "render/FontMapping.h"
#include "render/RenderParts.h"

namespace etiqo {

namespace {

// GDI divides the width as an unsigned number.
std::int32_t WidthPerByte(std::int32_t width, std::size_t bytes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(width) / bytes);
}

void StoreMeasuredSize(const RenderContext& context, Element& element, QSize extent) {
    element.nWidth = element.nOrgWidth = PixelsToDots(extent.width(), context.scale.x);
    element.nHeight = element.nOrgHeight = PixelsToDots(extent.height(), context.scale.y);
}

// The font a never-sized text is measured with: the stored height at the display scale.
TextFont UnsizedFont(const RenderContext& context, const Element& element, const QString& text) {
    LOGFONTA copy = element.lfFont;
    copy.lfHeight = TruncToInt(element.lfFont.lfHeight * context.scale.y);
    copy.lfEscapement = 0;
    return FontFromLogFont(copy, text, ContentBytes(element).size());
}

bool IsUnsized(const RenderContext& context, const Element& element, int turn) {
    const DeviceBox box = ComputeDeviceBox(context, element);
    return turn == 0 ? box.width == 0 && box.height == 0 : box.width == 0 && box.height <= 0;
}

}  // namespace

void DrawTextElement(const RenderContext& context, Element& element) {
    const std::string_view bytes = ContentBytes(element);
    if (bytes.empty()) {
        return;
    }
    const QString text = RecordText(bytes);
    QPainter& painter = context.painter;

    if (context.bPrinting) {
        element.lfFont.lfHeight = element.nHeight;
        element.lfFont.lfWidth = WidthPerByte(element.nWidth, bytes.size());
        const TextFont font = FontFromLogFont(element.lfFont, text, bytes.size());
        DrawTextAt(painter, font, QPoint(ClampCoordinate(element.nPosX), ClampCoordinate(element.nPosY)),
                   text);
        return;
    }

    const DeviceBox box = ComputeDeviceBox(context, element);
    element.lfFont.lfEscapement = 0;
    QSize extent;
    if (box.width == 0 && box.height == 0) {
        const TextFont font = UnsizedFont(context, element, text);
        DrawTextAt(painter, font, QPoint(box.left, box.top), text);
        extent = MeasureText(font, text);
        StoreMeasuredSize(context, element, extent);
    } else {
        LOGFONTA copy = element.lfFont;
        copy.lfHeight = box.height;
        copy.lfWidth = WidthPerByte(box.width, bytes.size());
        const TextFont font = FontFromLogFont(copy, text, bytes.size());
        extent = MeasureText(font, text);
        DrawTextAt(painter, font, QPoint(box.left, box.top), text);
    }
    if (WantsGrips(context, element)) {
        DrawGrips(painter, element, box.left, box.top, extent.width(), extent.height(), 8, GripMiddle::Half);
    }
}

void DrawRotatedText(const RenderContext& context, Element& element, int turn) {
    const std::string_view bytes = ContentBytes(element);
    if (bytes.empty()) {
        return;
    }
    const QString text = RecordText(bytes);
    const DeviceBox box = ComputeDeviceBox(context, element);
    int width = box.width;
    int height = box.height;

    LOGFONTA copy = element.lfFont;
    copy.lfHeight = TruncToInt(element.lfFont.lfHeight * context.scale.y);
    if (IsUnsized(context, element, turn)) {
        copy.lfEscapement = 0;
        const QSize extent = MeasureText(FontFromLogFont(copy, text, bytes.size()), text);
        StoreMeasuredSize(context, element, extent);
        width = extent.width();
        height = extent.height();
    } else {
        const std::int32_t perByte = element.nWidth / static_cast<std::int32_t>(bytes.size());
        element.lfFont.lfHeight = element.nHeight;
        element.lfFont.lfWidth = perByte;
        copy.lfHeight = TruncToInt(element.nHeight * context.scale.y);
        copy.lfWidth = TruncToInt(perByte * context.scale.x);
    }
    element.lfFont.lfEscapement = turn;
    copy.lfEscapement = turn;

    QPoint origin;
    QRect grips;
    switch (turn) {
        case 900:
            origin = QPoint(box.left + width / 2 - height / 2, box.top + width / 2 + height / 2);
            grips = QRect(origin.x(), origin.y() - width, height, width);
            break;
        case 1800:
            origin = QPoint(box.left + width, box.top + height);
            grips = QRect(box.left, box.top, width, height);
            break;
        default:  // 2700
            origin = QPoint(box.left + width / 2 + height / 2, box.top + height / 2 - width / 2);
            grips = QRect(origin.x() - height, origin.y(), height, width);
            break;
    }
    DrawTextAt(context.painter, FontFromLogFont(copy, text, bytes.size()), origin, text);
    if (WantsGrips(context, element)) {
        // A turned text's grips are shown but not stored: its hit tests keep the upright ones.
        Element scratch = element;
        DrawGrips(context.painter, scratch, grips.x(), grips.y(), grips.width(), grips.height(), 8,
                  GripMiddle::Half);
    }
}

void MeasureUnsizedText(const RenderContext& context, Element& element) {
    const std::string_view bytes = ContentBytes(element);
    const int turn = QuarterTurn(element.nEscapement);
    if (bytes.empty() || !IsUnsized(context, element, turn)) {
        return;
    }
    const QString text = RecordText(bytes);
    StoreMeasuredSize(context, element, MeasureText(UnsizedFont(context, element, text), text));
}

}  // namespace etiqo
