#pragma once
// Resizing a selected element by one of its eight grips. Every result is computed from the
// box committed at the last release (nOrg*) and from the press point, never from the previous
// move, so a drag does not accumulate rounding. No undo snapshot here: the release takes it.

#include "canvas/EditTypes.h"
#include "model/Element.h"
#include "model/Geometry.h"

namespace etiqo {

// Each takes the element with its armed grip in nSize, the press point and the pointer, both
// in display pixels, and returns the sizing cursor of the grip.
EditCursor SizeFont(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p);  // texts
EditCursor SizePicture(Element& e, DisplayScale scale, PixelPoint mouseDown,
                       PixelPoint p);  // pictures, 2D codes
EditCursor SizeBarcode(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p);    // barcodes
EditCursor SizeRectangle(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p);  // shapes

}  // namespace etiqo
