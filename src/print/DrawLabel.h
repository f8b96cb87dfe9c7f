#pragma once
// The output drawing of a whole label: printer pages, the print preview, PNG and PDF export.

#include <functional>
#include <string>

#include "model/Geometry.h"
#include "model/Label.h"

class QPainter;

namespace etiqo {

class SymbolCache;

// Draws every element in list order for output (one painter unit per printer dot, no grips),
// and steps each text and barcode serial number once after drawing it. Line end points, kept
// in display pixels, are divided by lineEndScale, the canvas's display scale of this moment.
// warn receives one line per element that could not be drawn, naming its index.
// Returns true when a serial number moved, so the canvas should repaint.
bool DrawLabel(QPainter& painter, Label& label, SymbolCache& symbols, DisplayScale lineEndScale,
               const std::function<void(const std::string&)>& warn = {});

}  // namespace etiqo
