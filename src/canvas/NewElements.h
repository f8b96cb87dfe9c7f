#pragma once
// The records the creating tools put on the label, with the defaults of each kind. Positions
// are in dots; every new element is selected and its committed fields equal its current ones.

#include <cstdint>
#include <string_view>

#include "model/Element.h"

namespace etiqo {

// `text` and `path` are GB18030 bytes; anything beyond 255 bytes is cut at a character edge by
// the caller (the record holds 255 bytes and a NUL).
Element NewTextElement(std::string_view text, std::int32_t posX, std::int32_t posY);
Element NewBarcodeElement(std::string_view data, std::int32_t posX, std::int32_t posY);
Element New2DCodeElement(std::string_view data, std::int32_t posX, std::int32_t posY);
// imageWidth must be positive: the height follows the picture's aspect at a width of 100 dots.
Element NewPictureElement(std::string_view path, std::uint32_t imageWidth, std::uint32_t imageHeight,
                          std::int32_t posX, std::int32_t posY);
// The end point is in display pixels (the start point as shown); the end is armed for the drag.
Element NewLineElement(std::int32_t posX, std::int32_t posY, std::int32_t endX, std::int32_t endY);
// An empty rectangle whose bottom-right grip is armed, so the drag that follows spans it.
Element NewShapeElement(std::int32_t posX, std::int32_t posY);

}  // namespace etiqo
