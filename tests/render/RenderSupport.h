#pragma once
// Rendering labels headless and reading them back the way a user's scanner would.

#include <QImage>

#include <string>
#include <vector>

#include "model/Element.h"
#include "model/Geometry.h"
#include "model/Label.h"
#include "render/SymbolCache.h"

namespace etiqo::test {

// A white output page of trunc(Wd) × trunc(Hd) dots with the label drawn by DrawLabel.
QImage RenderPage(Label& label, SymbolCache& symbols, DisplayScale lineEndScale = {1.0, 1.0});

// A white image of width × height with one element drawn at scale (screen when !printing).
QImage RenderElement(Element& element, SymbolCache& symbols, int width, int height, bool printing,
                     DisplayScale scale = {1.0, 1.0});

enum class Reader { Zbar, ZXing };

// What the reader decodes from the image (every symbol found, one per line, trailing newline
// removed); empty when it reads nothing.
std::string Decode(const QImage& image, Reader reader);

// Black pixels (luminance below half) of a column or row span, and in a rectangle.
bool IsBlack(const QImage& image, int x, int y);
int CountBlack(const QImage& image, const QRect& rect);
// The bounding box of every black pixel; empty when there is none.
QRect BlackBounds(const QImage& image);

// A label with no snapshot folder of its own in the user's temp folder.
Label MakeLabel(int widthMM, int heightMM, int dpi);

// The string as GB18030 bytes in a content field.
void SetContentUtf8(Element& element, const std::string& utf8);

}  // namespace etiqo::test
