#pragma once
// Draws one element on a QPainter. The canvas paint (screen, with grips), the preview, the
// printer and the PNG/PDF export all come through here; nothing else draws an element.

#include <functional>
#include <optional>
#include <string>

#include "model/Element.h"
#include "model/Geometry.h"
#include "render/ZintSymbol.h"

class QPainter;

namespace etiqo {

class SymbolCache;

struct RenderContext {
    QPainter& painter;
    SymbolCache& symbols;
    // Pixels per dot: the display scale on screen, {1, 1} for output (one painter unit per dot).
    DisplayScale scale;
    // True for output: dots, no grips, the output forms of texts, lines and 2D symbols.
    bool bPrinting = false;
    // The canvas's display scale at this moment; output divides line end points (kept in
    // display pixels) by it.
    DisplayScale lineEndScale;
    // Told about what could not be drawn (an unencodable content, a missing picture), by index.
    std::function<void(const std::string& message)> warn;
};

// The dispatch by kind, rotation and symbology. Writes back what drawing derives: a new
// text's size, font fields, grip positions, the symbol cache handle.
void DrawElement(const RenderContext& context, Element& element);

// What the first screen paint would have done to an element that was never shown: a 2D symbol
// is encoded (output never encodes one), a never-measured text takes its measured size and an upright
// text its zero escapement.
// `screen` carries the display scale the canvas would have; nothing is drawn on its painter.
// For headless output (the command line), before DrawLabel.
void PrepareForOutput(const RenderContext& screen, Element& element);

// Encodes a barcode or 2D symbol into the cache as drawing it would (output draws 2D symbols only
// from the cache), so a content that cannot be encoded is known before its page is made. Returns
// the encoder's reason, empty when the symbol was encoded or the element has none.
std::string EncodeForOutput(const RenderContext& context, Element& element);
// What EncodeForOutput hands the encoder for the element as it stands (its content viewed in
// place); nullopt for elements without an encoded symbol.
std::optional<SymbolRequest> OutputSymbol(const Element& element);

}  // namespace etiqo
