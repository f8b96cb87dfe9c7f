#include "render/SymbolGeometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "render/FontMapping.h"
#include "render/RenderParts.h"
#include "render/SymbolCache.h"
#include "render/ZintSymbol.h"

namespace etiqo {

namespace {

// Our own EAN-13 painter divides its box into 95 modules and a 7-module margin for the first digit.
constexpr int kOwnEan13Modules = 102;

// The thickness of a quarter-turned barcode's caption, measured as its drawing measures it.
int TurnedCaption(const Element& element, int turn) {
    if (element.bShowText == 0) {
        return 0;
    }
    const QString text = RecordText(ContentBytes(element));
    LOGFONTA font = element.lfFont;
    font.lfEscapement = turn;
    return MeasureText(FontFromLogFont(font, text, ContentBytes(element).size()), text).height();
}

}  // namespace

std::optional<SymbolArea> OutputSymbolArea(const Element& element) {
    if (element.nKind != ElementKind::Barcode && element.nKind != ElementKind::Code2D) {
        return std::nullopt;
    }
    // Boxes at output scale; nothing is painted.
    QPainter painter;
    SymbolCache symbols;
    const RenderContext context{painter, symbols, DisplayScale{1.0, 1.0}, true, DisplayScale{1.0, 1.0}, {}};
    const DeviceBox box = ComputeDeviceBox(context, element);
    SymbolArea area;
    area.turn = QuarterTurn(element.nEscapement);
    if (element.nKind == ElementKind::Code2D) {
        const int height = element.nSymbology == kSymbologyPdf417 ? box.height : box.width;
        area.symbol = QRect(box.left, box.top, box.width, height).normalized();
        return area;
    }
    area.linear = true;
    const int turn = area.turn;
    area.verticalAxis = turn == 900 || turn == 2700;
    if (element.nSymbology == kSymbologyOwnEan13) {
        const DeviceBox drawn = turn == 0 ? box : ComputeRotatedBox(context, element, turn).box;
        area.symbol = QRect(drawn.left, drawn.top, drawn.width, drawn.height).normalized();
        return area;
    }
    if (turn == 0) {
        const int caption = element.bShowText == 0 ? 0 : element.lfFont.lfHeight;
        area.symbol = QRect(box.left, box.top, box.width, box.height - caption - 2).normalized();
        return area;
    }
    const DeviceBox drawn = ComputeRotatedBox(context, element, turn).box;
    const int caption = TurnedCaption(element, turn);
    area.symbol = QRect(drawn.left, drawn.top, drawn.width, drawn.height - caption).normalized();
    if (area.verticalAxis) {
        area.widthBesideModules = caption;
    }
    return area;
}

int LinearModuleCount(const Element& element) {
    if (element.nKind != ElementKind::Barcode) {
        return 0;
    }
    if (element.nSymbology == kSymbologyOwnEan13) {
        return kOwnEan13Modules;
    }
    // At scale 1 zint draws a module two pixels wide.
    SymbolRequest request;
    request.symbology = element.nSymbology;
    request.content = ContentBytes(element);
    request.widthDots = 1;
    request.barcode = true;
    const SymbolImage symbol = EncodeSymbol(request);
    return symbol.image.isNull() ? 0 : symbol.Size().width() / 2;
}

std::optional<int> WholeDotWidth(const Element& element) {
    const int modules = LinearModuleCount(element);
    const std::optional<SymbolArea> area = OutputSymbolArea(element);
    if (modules <= 0 || !area || element.nWidth <= 0) {
        return std::nullopt;
    }
    const int span = element.nWidth - area->widthBesideModules;
    const int dotsPerModule = std::max(1, static_cast<int>(std::lround(static_cast<double>(span) / modules)));
    return dotsPerModule * modules + area->widthBesideModules;
}

}  // namespace etiqo
