#pragma once
// What a decoder must read from an element's symbol: its content, or the form the symbology
// gives it (check digits added, zero padding, GS1 prefixes), and how much quiet zone it needs.

#include <optional>
#include <string>

#include "model/Element.h"

namespace etiqo {

// Decoder families, as the checker asks for them.
enum class CodeFamily {
    Code128,
    Code39,
    Code39Extended,
    Code93,
    Codabar,
    Ean8Or13,
    Ean13,
    UpcA,
    UpcE,
    Itf,
    QrCode,
    Pdf417,
    DataMatrix,
    MaxiCode,
};

struct Expectation {
    CodeFamily family = CodeFamily::Code128;
    std::string text;  // UTF-8, as the decoder reports it
    // White needed beyond the symbol's own image, in modules: before and after along the module
    // axis of a linear code, all round a 2D symbol.
    int quietBefore = 0;
    int quietAfter = 0;
};

// Nullopt for a symbology no decoder here reads (Grid Matrix, MicroPDF417, unknown numbers) and
// for elements that are no barcode or 2D symbol. content is the page's own (the record's bytes).
std::optional<Expectation> ExpectedReading(const Element& element);

// The GS1 check digit of a digit string (weights 3, 1, 3, … from the right).
char Gs1CheckDigit(const std::string& digits);

}  // namespace etiqo
