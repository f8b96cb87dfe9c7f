#pragma once
// The colours of the button rows around the canvas.
#include <QColor>

namespace etiqo {

inline constexpr QColor kBarBackground(239, 239, 230);
inline constexpr QColor kBarTopLine(200, 200, 200);
inline constexpr QColor kSeparator(202, 198, 175);
inline constexpr QColor kHoverTop(255, 254, 220);
inline constexpr QColor kHoverBottom(251, 168, 61);
inline constexpr QColor kPressedTop(254, 130, 64);
inline constexpr QColor kPressedBottom(255, 218, 149);
inline constexpr QColor kButtonOutline(0, 0, 128);

}  // namespace etiqo
