#pragma once
// Where a barcode's or 2D symbol's modules land on an output page, and how many modules a linear
// barcode has: what the scan check measures and what Fit to Dots fits.

#include <QRect>

#include <optional>

#include "model/Element.h"

namespace etiqo {

struct SymbolArea {
    QRect symbol;               // the symbol's image on the page, caption left out (dots)
    bool linear = false;        // a 1D barcode: modules run along one axis only
    bool verticalAxis = false;  // linear and turned a quarter: its modules run top to bottom
    int turn = 0;               // 0, 900, 1800 or 2700, counter-clockwise as drawn
    // Dots of the element's nWidth that are not modules (the caption of a quarter-turned barcode).
    int widthBesideModules = 0;
};

// The symbol's area as output draws it (one unit per dot). Nullopt for other kinds.
std::optional<SymbolArea> OutputSymbolArea(const Element& element);

// Modules across a linear barcode as drawn (the quiet zones zint draws included); 0 when the
// content cannot be encoded or the element is no linear barcode.
int LinearModuleCount(const Element& element);

// The nWidth nearest to the element's at which every module of a linear barcode is a whole number
// of dots (at least one); nullopt when the modules cannot be counted.
std::optional<int> WholeDotWidth(const Element& element);

}  // namespace etiqo
