#pragma once
// The real cursors behind the editing rules' cursor requests.

#include <QCursor>

#include <optional>

#include "canvas/EditTypes.h"

namespace etiqo {

QCursor CursorFor(EditCursor cursor);

// The cursor a tool shows over the canvas; nothing for tools that keep the current cursor
// (the palette's style and alignment numbers).
std::optional<EditCursor> ToolCursor(int tool);

}  // namespace etiqo
