#pragma once
// The drawing operations behind DrawElement, one per element form, and what they share.
// Internal to the renderer: callers go through DrawElement.

#include <QRect>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <string_view>

#include "model/Element.h"
#include "render/ElementRenderer.h"

class QPainter;

namespace etiqo {

// Coordinates handed to the painter are kept within this range: far beyond any label, small
// enough that no sum of them overflows an int.
inline constexpr int kMaxCoordinate = 1 << 22;

int ClampCoordinate(std::int64_t value);

// The element's box at the context's scale: L, T, W, H, each truncated toward zero.
struct DeviceBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
DeviceBox ComputeDeviceBox(const RenderContext& context, const Element& element);

// The quarter turn an angle draws as: 0, 900, 1800 or 2700. Negative angles count from 3600;
// angles between quarter turns take the nearest one.
int QuarterTurn(std::int32_t escapement);

// The content (or picture path) as text; the record holds GB18030 bytes.
QString RecordText(std::string_view bytes);

// Grips: eight 4 × 4 black squares about the grip box, written back to ptGrip.
enum class GripMiddle { Half, Barcode };  // m = left + width/2, or left + (width + 16)/2
void DrawGrips(QPainter& painter, Element& element, int left, int top, int width, int height, int gap,
               GripMiddle middle);
inline bool WantsGrips(const RenderContext& context, const Element& element) {
    return !context.bPrinting && element.bSelected == 1;
}

// The rotated box of pictures, shapes and barcodes, and the centre they turn about.
struct RotatedBox {
    DeviceBox box;  // L', T', W', H'
    int cx = 0;
    int cy = 0;
};
RotatedBox ComputeRotatedBox(const RenderContext& context, const Element& element, int turn);
// The world transform of a quarter turn about (cx, cy), counter-clockwise on the device: what
// was drawn in the upright box then lands in the rotated one.
QTransform TurnAbout(int turn, qreal cx, qreal cy);

// Texts.
void DrawTextElement(const RenderContext& context, Element& element);
void DrawRotatedText(const RenderContext& context, Element& element, int turn);
// Measures a never-sized text as the screen would, storing its extent in dots.
void MeasureUnsizedText(const RenderContext& context, Element& element);

// Pictures (the caller has checked that the file exists).
void DrawPictureElement(const RenderContext& context, Element& element, int turn);

// Lines and shapes.
void DrawLineElement(const RenderContext& context, Element& element);
void DrawShapeElement(const RenderContext& context, Element& element, int turn);

// Barcodes and 2D symbols.
void DrawBarcodeElement(const RenderContext& context, Element& element);
void DrawRotatedBarcode(const RenderContext& context, Element& element, int turn);
void Draw2DCodeElement(const RenderContext& context, Element& element);
void DrawEan13Element(const RenderContext& context, Element& element, int turn);
// Encodes a 2D symbol as the screen paint would, when it has no cached image yet.
void Encode2DCodeIfNeeded(const RenderContext& context, Element& element);

// What the screen shows for a content the encoder refused: a light hatched box with the
// content in it.
void DrawUnencodable(QPainter& painter, const QRect& box, const QString& content);

}  // namespace etiqo
