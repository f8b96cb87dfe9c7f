#include "canvas/NewElements.h"

#include <algorithm>
#include <cstring>

namespace etiqo {
namespace {

constexpr char kSongTi[] = "\xCB\xCE\xCC\xE5";  // 宋体 in GB18030

void CopyBytes(char* field, std::size_t size, std::string_view bytes) {
    const std::size_t n = std::min(bytes.size(), size - 1);
    std::memcpy(field, bytes.data(), n);
    field[n] = '\0';
}

Element Base(ElementKind kind, std::int32_t posX, std::int32_t posY) {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nPosX = posX;
    e.nPosY = posY;
    e.nSize = kNoGrip;
    e.bSelected = 1;
    return e;
}

void SetFont(Element& e, std::int32_t height, std::int32_t weight) {
    e.lfFont.lfHeight = height;
    e.lfFont.lfWeight = weight;
    CopyBytes(e.lfFont.lfFaceName, sizeof e.lfFont.lfFaceName, kSongTi);
}

Element Committed(Element e) {
    e.nOrgPosX = e.nPosX;
    e.nOrgPosY = e.nPosY;
    e.nOrgWidth = e.nWidth;
    e.nOrgHeight = e.nHeight;
    return e;
}

}  // namespace

Element NewTextElement(std::string_view text, std::int32_t posX, std::int32_t posY) {
    Element e = Base(ElementKind::Text, posX, posY);
    SetFont(e, 20, 400);
    CopyBytes(e.str, sizeof e.str, text);
    return Committed(e);  // the size is measured at the first paint
}

Element NewBarcodeElement(std::string_view data, std::int32_t posX, std::int32_t posY) {
    Element e = Base(ElementKind::Barcode, posX, posY);
    e.nWidth = 300;
    e.nHeight = 80;
    SetFont(e, 20, 800);
    e.nSymbology = kSymbologyCode128;
    e.nMinBarHeight = 15;
    e.bShowText = 1;
    CopyBytes(e.str, sizeof e.str, data);
    return Committed(e);
}

Element New2DCodeElement(std::string_view data, std::int32_t posX, std::int32_t posY) {
    Element e = Base(ElementKind::Code2D, posX, posY);
    e.nWidth = 100;
    e.nHeight = 100;
    e.nImageWidth = 100;
    e.nImageHeight = 100;
    SetFont(e, 14, 400);
    e.nSymbology = kSymbologyQrCode;
    CopyBytes(e.str, sizeof e.str, data);
    return Committed(e);
}

Element NewPictureElement(std::string_view path, std::uint32_t imageWidth, std::uint32_t imageHeight,
                          std::int32_t posX, std::int32_t posY) {
    Element e = Base(ElementKind::Picture, posX, posY);
    e.nImageWidth = static_cast<std::int32_t>(imageWidth);
    e.nImageHeight = static_cast<std::int32_t>(imageHeight);
    e.nWidth = 100;
    e.nHeight = imageWidth == 0 ? 100 : static_cast<std::int32_t>(100ULL * imageHeight / imageWidth);
    CopyBytes(e.str, sizeof e.str, path);
    return Committed(e);
}

Element NewLineElement(std::int32_t posX, std::int32_t posY, std::int32_t endX, std::int32_t endY) {
    Element e = Base(ElementKind::Line, posX, posY);
    e.nEndX = endX;
    e.nEndY = endY;
    e.nPenWidth = 4;
    e.nSize = 1;
    return Committed(e);
}

Element NewShapeElement(std::int32_t posX, std::int32_t posY) {
    Element e = Base(ElementKind::Shape, posX, posY);
    e.nPenWidth = 4;
    e.nEndX = posX;  // the creation point; a triangle reads nEndX as its apex offset
    e.nEndY = posY;
    e.nShapeType = kShapeRectangle;
    e.nSize = 7;
    return Committed(e);
}

}  // namespace etiqo
