#pragma once
// Mouse moves and the left release: hover arming of grips and line ends, dragging the
// selection, resizing by a grip, and committing the result at the release.

#include <optional>

#include "canvas/EditTypes.h"
#include "model/Geometry.h"
#include "model/Label.h"

namespace etiqo {

struct MoveOutcome {
    std::optional<EditCursor> cursor;  // a cursor the move asks for
    bool repaint = false;
    bool snapshot = false;  // the selection was moved: one undo snapshot for this step
};

// One mouse move over the canvas. `tool` is m_nTool (hovering over a line's end sets it to
// kToolLineEnd); `mouseDown` the point of the last left press.
MoveOutcome MouseMove(ElementList& elements, DisplayScale scale, PixelPoint p, bool leftDown,
                      PixelPoint mouseDown, int& tool);

// The left release: a click with the rectangle tool gives a 100 × 100-dot shape centred on
// the release point; every selected element commits its fields (nOrg*) and drops its armed
// grip. Returns true when a grip was released (a resize ended), which takes an undo snapshot.
bool CommitRelease(ElementList& elements, DisplayScale scale, PixelPoint p, int tool);

// Commits every element's place and size (nOrg*) as a release does. Placing, aligning, nudging,
// undo and paste move elements without a release: committing again at the press that starts a
// drag lets it start from where they are, not from where the last drag left them.
void CommitPlacement(ElementList& elements);

}  // namespace etiqo
