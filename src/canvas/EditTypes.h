#pragma once
// Small value types shared by the canvas's editing rules. Plain C++: the rules are tested on an
// element list and a display scale, without a window.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace etiqo {

// The values of m_nTool. The palette also stores its style and alignment button numbers
// (11 to 16) here; a press with any such value only records an undo snapshot.
enum EditTool : int {
    kToolSelect = 0,
    kToolText = 1,
    kTool2DCode = 2,
    kToolBarcode = 3,
    kToolPicture = 4,
    kToolLine = 5,
    kToolRectangle = 6,
    kToolLineEnd = 20,  // armed by hovering over a selected line's end point
};

// The style buttons' toggles of every selected element's font.
enum class TextStyle {
    Bold,       // weight 900, or back to 400
    Italic,     // lfItalic 0 / 1
    Underline,  // lfUnderline 0 / 1
};

// Record fields are 32-bit and may come from any file: edits compute in 64 bits and saturate.
inline std::int32_t SaturatedInt(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Display coordinates are kept far inside the int range, so sums of a few of them never overflow.
inline constexpr int kPixelLimit = 1 << 28;
inline int ClampPixels(std::int32_t value) {
    return std::clamp(value, -kPixelLimit, kPixelLimit);
}

// A point in display pixels of the canvas window.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A box in display pixels: left <= x < left + width, top <= y < top + height.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool Contains(PixelPoint p) const {
        return left <= p.x && p.x < left + width && top <= p.y && p.y < top + height;
    }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// Cursors the editing rules ask for; the widget maps them to real cursors.
enum class EditCursor {
    Arrow,
    SizeNWSE,  // grips 0 and 7
    SizeNS,    // grips 1 and 6
    SizeNESW,  // grips 2 and 5
    SizeWE,    // grips 3, 4, the triangle apex and a line's end points
    Cross,     // the rectangle tool
    ToolText,
    Tool2DCode,
    ToolBarcode,
    ToolPicture,
    ToolLine,
};

}  // namespace etiqo
