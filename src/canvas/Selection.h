#pragma once
// Choosing elements with the mouse: the left-press selection pass and the right-press pass
// that precedes the context menus.

#include <cstddef>
#include <optional>
#include <vector>

#include "canvas/EditTypes.h"
#include "model/Geometry.h"
#include "model/Label.h"

namespace etiqo {

// The left press with the selection tool, in list order. It may select or deselect elements,
// arm a grip of a selected element (nSize), and ask for the grip's cursor. `extend` is true
// while Shift or Ctrl is held: the selection is then added to, never cleared.
std::optional<EditCursor> SelectAtPress(ElementList& elements, DisplayScale scale, PixelPoint p, bool extend);

// Whether a left press at the point catches anything: an element's box, a line, an armed grip or
// the grip square of a selected element. A press that catches nothing starts a selection band.
bool PressCatchesElement(const ElementList& elements, DisplayScale scale, PixelPoint p);

// The selection band from corner a to corner b: every element the band touches becomes selected,
// every other one keeps its flag from `before` (what was selected when the band began).
void SelectInBand(ElementList& elements, DisplayScale scale, PixelPoint a, PixelPoint b,
                  const std::vector<char>& before);

// An element under a right press, in list order.
struct ContextHit {
    std::size_t index;
    Element* element;
};

// The right press: exactly the elements whose unturned box holds the point become selected
// (lines never). Returns the elements whose context box holds the point, in list order; a
// barcode's context box is its nHitWidth × nHitHeight.
std::vector<ContextHit> SelectForContextMenu(ElementList& elements, DisplayScale scale, PixelPoint p);

}  // namespace etiqo
