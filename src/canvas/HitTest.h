#pragma once
// Where an element lies on the screen and what the pointer touches: boxes, grips, lines.

#include <array>

#include "canvas/EditTypes.h"
#include "model/Element.h"
#include "model/Geometry.h"

namespace etiqo {

// The unturned box in display pixels, as stored: a box dragged past its opposite edge keeps
// its negative extent here, so that resizing goes on from the same numbers.
PixelBox DisplayBox(const Element& e, DisplayScale scale);

// The box the pointer is tested against: turned about its centre for texts, pictures,
// barcodes and shapes at 900 and 2700 (2D codes and lines are drawn unturned).
PixelBox HitBox(const Element& e, DisplayScale scale);

// Whether a box holds the point, for an element of the given kind. A negative extent is
// counted from the other edge and an extent below a few pixels is widened about its middle,
// so an element squeezed to nothing can still be caught and pulled back. A line's box is
// empty: lines are caught by LineHit only.
bool BoxHolds(ElementKind kind, PixelBox box, PixelPoint p);

// The eight grip points of a box, in grip order (top-left to bottom-right), as the press
// test places them.
std::array<PixelPoint, 8> PressGripPoints(PixelBox box);

// The grip whose press square holds the point, or kNoGrip. Texts have small squares
// (-1..+5 about the point); pictures, barcodes, 2D codes and shapes large ones (-10..+10).
int PressedGrip(const Element& e, DisplayScale scale, PixelPoint p);

// The hover test on the grip points of the last paint (ptGrip): squares -1..+5 about each.
bool InHoverSquare(GripPoint grip, PixelPoint p);

// The sizing cursor of a grip (0 to 8); a line's two end points use the west/east cursor.
EditCursor GripCursor(ElementKind kind, int grip);

// The whole-line test: the straight line through both end points, beyond them too.
bool LineHit(const Element& line, DisplayScale scale, PixelPoint p);

}  // namespace etiqo
