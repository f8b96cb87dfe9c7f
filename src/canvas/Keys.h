#pragma once
// The arrow keys nudge the first selected element; Backspace and Delete start a delete.

#include <cstddef>
#include <optional>

#include "model/Label.h"

namespace etiqo {

// The keys the canvas handles itself.
enum class EditKey { Up, Down, Left, Right, Delete };

struct KeyOutcome {
    bool repaint = false;
    std::optional<std::size_t> deleteFrom;  // Delete/Backspace: index of the first selected element
};

// Nudges the first selected element by one dot (a line's end by one pixel), or reports where
// a delete starts. With nothing selected it does nothing.
KeyOutcome HandleEditKey(ElementList& elements, EditKey key);

}  // namespace etiqo
