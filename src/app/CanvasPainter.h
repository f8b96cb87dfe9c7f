#pragma once
// The designer's one way to draw a label for output: DrawLabel with the canvas's symbol cache and
// its display scale of the moment (line end points are stored in display pixels).

#include "print/LabelPage.h"

namespace etiqo {

class CLabelCanvas;

// The painter holds a reference to the canvas, which must outlive it.
LabelPainter CanvasPainter(CLabelCanvas& canvas);

}  // namespace etiqo
