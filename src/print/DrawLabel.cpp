#include "print/DrawLabel.h"

#include <QPainter>

#include <cstring>

#include "model/Serial.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo {

bool DrawLabel(QPainter& painter, Label& label, SymbolCache& symbols, DisplayScale lineEndScale,
               const std::function<void(const std::string&)>& warn) {
    bool repaint = false;
    for (std::size_t index = 0; index < label.m_elements.size(); ++index) {
        Element* element = label.m_elements[index].get();
        if (!element) {
            continue;
        }
        RenderContext context{painter, symbols, DisplayScale{1.0, 1.0}, true, lineEndScale, {}};
        if (warn) {
            context.warn = [&warn, index](const std::string& message) {
                warn("element " + std::to_string(index) + ": " + message);
            };
        }
        DrawElement(context, *element);
        if (element->nKind != ElementKind::Text && element->nKind != ElementKind::Barcode) {
            continue;
        }
        char before[sizeof element->str];
        std::memcpy(before, element->str, sizeof before);
        repaint = AdvanceSerial(*element) || repaint;
        // A barcode whose number moved needs its bars encoded anew for the next label.
        if (element->nKind == ElementKind::Barcode && std::memcmp(before, element->str, sizeof before) != 0) {
            symbols.Release(*element);
        }
    }
    return repaint;
}

}  // namespace etiqo
