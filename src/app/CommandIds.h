#pragma once
// Command numbers that reach the main frame: menu items, accelerators, palette and command-bar
// buttons. The numbers are shared with the resources and the chrome, so they stay as they are.

namespace etiqo::cmd {

// File menu.
inline constexpr int kNewLabel = 32795;
inline constexpr int kOpenLabel = 32772;
inline constexpr int kSave = 32797;         // Chinese menu's Save
inline constexpr int kSaveEnglish = 32773;  // English menu's Save: wired like kSave
inline constexpr int kSaveAs = 32788;
inline constexpr int kPrint = 32789;
inline constexpr int kDirectSend = 32794;  // shown, never enabled
inline constexpr int kCheckLabel = 32900;  // the scan check of the page that would print next
inline constexpr int kExit = 57665;

// Edit menu.
inline constexpr int kUndo = 57643;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;

// Batch printing and help.
inline constexpr int kSelectLabelFiles = 32785;
inline constexpr int kAbout = 57664;

// The framework's Open: bound to Ctrl+O; here it opens a label like kOpenLabel.
inline constexpr int kFrameworkOpen = 57601;

// Insert menu: kInsertFirst + the tool (1 text … 6 shape), made at the centre of the visible label.
inline constexpr int kInsertFirst = 33100;
inline constexpr int kInsertText = 33101;
inline constexpr int kInsert2DCode = 33102;
inline constexpr int kInsertBarcode = 33103;
inline constexpr int kInsertPicture = 33104;
inline constexpr int kInsertLine = 33105;
inline constexpr int kInsertShape = 33106;
inline constexpr int kInsertLast = 33106;

// File ▸ Recent Files: the submenu, then one number per entry of the recent list (newest first).
inline constexpr int kRecentFiles = 33120;
inline constexpr int kRecentFileFirst = 33121;
inline constexpr int kRecentFileLast = 33124;

// Delete posted to the canvas by the palette.
inline constexpr int kCanvasDelete = 32782;

// Tool palette: 100 + slot (110 has no button).
inline constexpr int kPaletteFirst = 100;
inline constexpr int kPaletteLast = 116;
inline constexpr int kPaletteUndo = 107;
inline constexpr int kPaletteRedo = 108;
inline constexpr int kPaletteDelete = 109;
inline constexpr int kPaletteBold = 111;
inline constexpr int kPaletteItalic = 112;
inline constexpr int kPaletteUnderline = 113;

// Command bar: 130 + button index.
inline constexpr int kBarFirst = 130;
inline constexpr int kBarNew = 130;
inline constexpr int kBarOpen = 131;
inline constexpr int kBarSave = 132;
inline constexpr int kBarPrint = 133;
inline constexpr int kBarPreview = 134;
inline constexpr int kBarRotateLeft = 135;
inline constexpr int kBarRotateRight = 136;
inline constexpr int kBarZoomIn = 137;
inline constexpr int kBarZoomOut = 138;
inline constexpr int kBarInputFile = 139;  // no action
inline constexpr int kBarPositionFirst = 140;
inline constexpr int kBarPositionLast = 145;
inline constexpr int kBarAlignFirst = 146;
inline constexpr int kBarLast = 155;

}  // namespace etiqo::cmd
