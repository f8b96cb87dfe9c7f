#pragma once
// The program's images, compiled in from the SVG sources under res/icons, looked up by the resource
// numbers the windows use: button strips 141 to 143, canvas cursors 144 to 151, the program icon.
#include <QCursor>
#include <QIcon>
#include <QImage>

namespace etiqo {

// Strip ids: 141 command bar (26 cells of 35 x 45), 142 text style (6 of 30 x 30), 143 tools (10 of 35 x 40).
inline constexpr int kStripCommands = 141;
inline constexpr int kStripTextStyle = 142;
inline constexpr int kStripTools = 143;

// Canvas cursors, 32 x 32.
inline constexpr int kCursorLine = 144;  // hot spot 5,5
inline constexpr int kCursorText = 146;  // hot spot 0,0 (as the three below)
inline constexpr int kCursor2D = 148;
inline constexpr int kCursorBarcode = 150;
inline constexpr int kCursorPicture = 151;

// A button strip with its alpha channel; a null image for an unknown id. For a device pixel ratio
// above 1 the strip drawn at twice the size, its ratio set to 2 (it still covers the same pixels);
// by default the ratio of the application's screens.
QImage LoadStrip(int id);
QImage LoadStrip(int id, qreal devicePixelRatio);

// One of the canvas cursors with its hot spot; the arrow cursor for an unknown id.
QCursor LoadCursor(int id);

// The program icon at every size it is drawn in.
QIcon ProgramIcon();

}  // namespace etiqo
