#pragma once
// Output of a label that no canvas has shown (the command line): what the designer's first paint
// would have done, and the display scale its line end points were drawn at.

#include <QGuiApplication>
#include <QImage>
#include <QSize>

#include <functional>
#include <memory>
#include <string>

#include "model/Geometry.h"
#include "model/Label.h"
#include "print/LabelPage.h"

namespace etiqo {

class SymbolCache;

// Fonts and painters need a GUI application; without a display it runs offscreen. Null when one
// exists already.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

// The designer's frame client area assumed for labels opened without a window.
inline constexpr QSize kHeadlessFrame{1000, 650};

// The canvas window the designer would lay the label out in (at the label's current resolution).
PixelSize HeadlessView(const Label& label, QSize frame = kHeadlessFrame);

// Encodes 2D symbols and measures never-measured texts, as the first screen paint would.
void PrepareHeadless(Label& label, SymbolCache& symbols, PixelSize view);

// DrawLabel with the symbols, dividing line end points by the display scale that view has at the
// label's resolution of the moment (a print job changes it before drawing).
LabelPainter HeadlessPainter(SymbolCache& symbols, PixelSize view,
                             std::function<void(const std::string&)> warn = {});

// Writes a page as a PNG file stating the label's resolution into target (open, unbuffered);
// false when any write failed. The caller commits the file.
bool WritePngPage(QImage page, int dpiX, int dpiY, QIODevice& target);

}  // namespace etiqo
