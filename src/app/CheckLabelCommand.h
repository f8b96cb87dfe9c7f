#pragma once
// Check Label: the page the label would print next, read back by the scan check; failing codes
// are outlined on the canvas and counted in the status bar.

class QStatusBar;

namespace etiqo {

class CLabelCanvas;

void RunCheckLabel(CLabelCanvas& canvas, QStatusBar& statusBar);

}  // namespace etiqo
