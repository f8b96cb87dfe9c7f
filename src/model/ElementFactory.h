#pragma once
// New elements with the defaults of their kind. Positions are in dots; every new element is
// selected, and its committed box (nOrgPosX…) equals its box.

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/Element.h"
#include "model/Geometry.h"

namespace etiqo {

// "宋体" in GB18030, the face of every new text, barcode and 2D code.
inline constexpr char kDefaultFaceName[] = "\xCB\xCE\xCC\xE5";

// Contents are UTF-8; one longer than the 255 bytes of `str` is cut at a character boundary
// (the dialogs that edit a content refuse such input instead, see SetContent).
Element MakeTextElement(std::int32_t x, std::int32_t y, std::string_view text);
Element MakeBarcodeElement(std::int32_t x, std::int32_t y, std::string_view content);
Element Make2DElement(std::int32_t x, std::int32_t y, std::string_view content);

// A picture 100 dots wide keeping the image's aspect. nullopt when the path does not fit in `str`
// (a cut path would name another file) or the image has no width.
std::optional<Element> MakePictureElement(std::int32_t x, std::int32_t y, std::string_view path,
                                          std::int32_t imageWidth, std::int32_t imageHeight);

// A line whose end point (kept in display pixels) starts on its start point; the end is armed so
// that the drag which follows draws the line.
Element MakeLineElement(std::int32_t x, std::int32_t y, DisplayScale scale);

// A rectangle of 0 × 0 with its bottom-right grip armed, spanned by the drag that follows.
Element MakeShapeElement(std::int32_t x, std::int32_t y);

}  // namespace etiqo
