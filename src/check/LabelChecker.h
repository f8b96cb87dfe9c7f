#pragma once
// The scan check: each barcode and 2D symbol of a page, read back by a decoder from the very dots
// that go to the printer, compared with what the element should carry, and measured.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/Label.h"

namespace etiqo {

enum class ReadResult { ReadsRight, ReadsWrong, DoesNotRead, NotChecked };
enum class QuietZone { Clear, CutByLabelEdge, CutByElement };

struct ElementCheck {
    int index = -1;  // in the label's element list
    int symbology = 0;
    ReadResult result = ReadResult::NotChecked;
    std::string expected;     // UTF-8: the content, or the form the symbology gives it
    std::string read;         // UTF-8: what the decoder read; empty when nothing
    int narrowestModule = 0;  // dots; 0 when not measured
    int moduleSpread = 0;     // dots: widest less narrowest bar or space of one module count
    QuietZone quietZone = QuietZone::Clear;
    QRect area;  // the symbol on the page, in dots

    // Checked and read right. A cut quiet zone or uneven bars are reported with it but fail only
    // when the decoder does not read the symbol right; a symbol no decoder reads never passes.
    bool Passes() const { return result == ReadResult::ReadsRight; }
    bool Fails() const { return result != ReadResult::NotChecked && !Passes(); }
};

struct PageCheck {
    std::vector<ElementCheck> elements;  // one per barcode and 2D symbol, in list order
    bool Fails() const;
};

// An element as it was drawn on the page: the record before drawing, so a serialized element
// carries the page's own content.
struct DrawnElement {
    int index = -1;
    Element element;
};

// Copies of a label's records as they stand, to be taken just before a page is drawn.
// Only barcodes and 2D symbols are kept.
std::vector<DrawnElement> DrawnElements(const ElementList& elements);

class LabelChecker {
public:
    // page: the page as printed (any format; 1 bit a dot from the print path), one pixel a dot.
    // Symbols whose dots, place and expected reading match a symbol checked before are not
    // decoded again.
    PageCheck CheckPage(const QImage& page, std::span<const DrawnElement> elements);

    // How many symbols were handed to the decoder so far.
    int Decodes() const { return m_decodes; }

private:
    ElementCheck CheckElement(const QImage& page, const DrawnElement& drawn);

    int ModuleCount(const Element& element);

    std::unordered_map<std::uint64_t, ElementCheck> m_cache;
    std::unordered_map<std::string, int> m_moduleCounts;  // by symbology and content
    int m_decodes = 0;
};

}  // namespace etiqo
