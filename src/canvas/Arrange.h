#pragma once
// Acting on the selection as a group: placing it on the label, aligning and spacing it,
// changing the drawing order, turning it by quarter turns.

#include <cstdint>
#include <functional>

#include "model/Label.h"

namespace etiqo {

// Where PositionElement puts the selection on the label.
enum class PositionMode {
    Top,
    Bottom,
    Left,
    Right,
    VerticalCenter,
    HorizontalCenter,
};

// What AlignElement does with the selection: align edges, change the drawing order, space evenly.
enum class AlignMode {
    Left,
    Right,
    Top,
    Bottom,
    MoveToFront,
    MoveToBack,
    BringForward,
    SendBackward,
    SpaceHorizontally,
    SpaceVertically,
};

// The label's extent in whole dots, as placement measures it: trunc(dpi × mm / 25.4 + 0.5).
std::int32_t LabelDotsWhole(int dpi, int mm);

// Places every selected unturned element at an edge or the centre of a label of
// labelWidth × labelHeight dots; turned ones stay where they are.
void PositionElement(ElementList& elements, PositionMode mode, std::int32_t labelWidth,
                     std::int32_t labelHeight);

// Returns false when nothing needed repainting (an ordering command with nothing to move); every
// other mode repaints.
bool AlignElement(ElementList& elements, AlignMode mode);

// Turns every selected element by delta (+900 or -900); the remainder keeps the sign of the
// sum, so 0 - 900 gives -900. `releaseSymbol` is called with each cached symbol handle that
// must be encoded again. Returns true when something was selected.
bool RotateSelection(ElementList& elements, std::int32_t delta,
                     const std::function<void(std::uint32_t handle)>& releaseSymbol);

}  // namespace etiqo
