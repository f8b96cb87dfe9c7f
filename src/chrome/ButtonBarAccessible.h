#pragma once
// Screen readers see the drawn buttons of the palette and the command bar as buttons with names
// (their tooltips) that can be pressed: the bars draw them, so Qt knows no widget for them.

namespace etiqo {

// Registers the accessibility factory for CButtonBar once; later calls do nothing.
void InstallButtonBarAccessibility();

}  // namespace etiqo
