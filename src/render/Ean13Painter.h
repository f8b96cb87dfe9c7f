#pragma once
// Our own EAN-13 painter: bars and digits of an Ean13Code drawn into a device rectangle.

#include <QRect>

#include "model/Ean13.h"

class QPainter;

namespace etiqo {

// Fills rect white, then draws the 95 modules with 7 modules' room on the left for the
// leading digit and the digits under the bars. Module width is rect width / 102 pixels; the
// pixels left over widen modules, half of them on each side of the centre guard.
void PaintEan13(QPainter& painter, const Ean13Code& code, const QRect& rect);

}  // namespace etiqo
