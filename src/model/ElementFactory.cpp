#include "model/ElementFactory.h"

#include <algorithm>
#include <cstring>

#include "model/TextCodec.h"

namespace etiqo {
namespace {

Element NewElement(ElementKind kind, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height) {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nPosX = x;
    e.nPosY = y;
    e.nWidth = width;
    e.nHeight = height;
    e.nOrgPosX = x;
    e.nOrgPosY = y;
    e.nOrgWidth = width;
    e.nOrgHeight = height;
    e.bSelected = 1;
    e.nSize = kNoGrip;
    return e;
}

void SetDefaultFont(Element& e, std::int32_t height, std::int32_t weight) {
    e.lfFont.lfHeight = height;
    e.lfFont.lfWeight = weight;
    static_assert(sizeof kDefaultFaceName <= sizeof e.lfFont.lfFaceName);
    std::memcpy(e.lfFont.lfFaceName, kDefaultFaceName, sizeof kDefaultFaceName);
}

}  // namespace

Element MakeTextElement(std::int32_t x, std::int32_t y, std::string_view text) {
    Element e = NewElement(ElementKind::Text, x, y, 0, 0);  // measured at the first paint
    SetDefaultFont(e, 20, 400);
    SetContent(e, text, Overflow::Cut);
    return e;
}

Element MakeBarcodeElement(std::int32_t x, std::int32_t y, std::string_view content) {
    Element e = NewElement(ElementKind::Barcode, x, y, 300, 80);
    SetDefaultFont(e, 20, 800);
    e.nSymbology = kSymbologyCode128;
    e.nMinBarHeight = 15;
    e.bShowText = 1;
    SetContent(e, content, Overflow::Cut);
    return e;
}

Element Make2DElement(std::int32_t x, std::int32_t y, std::string_view content) {
    Element e = NewElement(ElementKind::Code2D, x, y, 100, 100);
    e.nImageWidth = 100;
    e.nImageHeight = 100;
    SetDefaultFont(e, 14, 400);
    e.nSymbology = kSymbologyQrCode;
    SetContent(e, content, Overflow::Cut);
    return e;
}

std::optional<Element> MakePictureElement(std::int32_t x, std::int32_t y, std::string_view path,
                                          std::int32_t imageWidth, std::int32_t imageHeight) {
    if (imageWidth <= 0 || imageHeight < 0) {
        return std::nullopt;
    }
    const auto height = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{100} * imageHeight / imageWidth, INT32_MAX));
    Element e = NewElement(ElementKind::Picture, x, y, 100, height);
    e.nImageWidth = imageWidth;
    e.nImageHeight = imageHeight;
    if (SetContent(e, path, Overflow::Refuse) == TextFit::Refused) {
        return std::nullopt;
    }
    return e;
}

Element MakeLineElement(std::int32_t x, std::int32_t y, DisplayScale scale) {
    Element e = NewElement(ElementKind::Line, x, y, 0, 0);
    e.nEndX = DotsToPixels(x, scale.x);
    e.nEndY = DotsToPixels(y, scale.y);
    e.nPenWidth = 4;
    e.nSize = 1;  // the end point
    return e;
}

Element MakeShapeElement(std::int32_t x, std::int32_t y) {
    Element e = NewElement(ElementKind::Shape, x, y, 0, 0);
    e.nEndX = x;
    e.nEndY = y;
    e.nPenWidth = 4;
    e.nShapeType = kShapeRectangle;
    e.nSize = 7;  // bottom-right grip
    return e;
}

}  // namespace etiqo
