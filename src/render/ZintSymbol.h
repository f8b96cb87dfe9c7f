#pragma once
// The one place that knows libzint: a fresh zint_symbol per encode, its fields set, the bitmap
// turned into the image the cache keeps.

#include <string_view>

#include "render/SymbolCache.h"

namespace etiqo {

struct SymbolRequest {
    int symbology = 0;
    std::string_view content;  // the record's bytes (GB18030)
    int widthDots = 0;         // the element's nWidth; chooses the scale
    bool barcode = true;       // 1D: bytes as they stand, no human-readable text from zint
    int angle = 0;             // zint's angle, clockwise: 0, 90, 180 or 270
};

// zint's scale for an element nWidth dots wide: one unit per 42 dots, at least 1.
int SymbolScale(int widthDots);

// Encodes and rasterises. On failure the result has a null image and the encoder's message.
SymbolImage EncodeSymbol(const SymbolRequest& request);

}  // namespace etiqo
