#pragma once
// The single keys that choose a palette tool while the canvas has the focus. The canvas acts on
// them; the palette shows them in its tooltips.

#include <QString>
#include <Qt>

#include <array>

#include "canvas/EditTypes.h"

namespace etiqo {

struct ToolKey {
    Qt::Key key;
    int tool;  // an EditTool value: the palette's slot
};

inline constexpr std::array<ToolKey, 7> kToolKeys = {{
    {Qt::Key_S, kToolSelect},
    {Qt::Key_T, kToolText},
    {Qt::Key_Q, kTool2DCode},
    {Qt::Key_B, kToolBarcode},
    {Qt::Key_P, kToolPicture},
    {Qt::Key_L, kToolLine},
    {Qt::Key_R, kToolRectangle},
}};

// The tool of a key, or -1.
inline int ToolForKey(int key) {
    for (const ToolKey& k : kToolKeys) {
        if (k.key == key) {
            return k.tool;
        }
    }
    return -1;
}

// The key of a tool as shown to the user ("T"), or empty.
inline QString KeyNameForTool(int tool) {
    for (const ToolKey& k : kToolKeys) {
        if (k.tool == tool) {
            return QString(QChar(static_cast<char16_t>(k.key)));
        }
    }
    return {};
}

}  // namespace etiqo
