#include "print/LabelCheck.h"

#include <cstring>
#include <string>

#include "model/Serial.h"

namespace etiqo {

PageCheck CheckDrawnPage(Label& label, const LabelPainter& painter, LabelChecker& checker) {
    const std::vector<DrawnElement> drawn = DrawnElements(label.m_elements);
    bool moved = false;
    const QImage page = RenderLabelPage(label, painter, moved);
    return checker.CheckPage(page, drawn);
}

PageCheck CheckNextPage(Label& label, const LabelPainter& painter, LabelChecker& checker) {
    std::vector<std::string> contents;
    for (const ElementPtr& e : label.m_elements) {
        contents.emplace_back(e ? std::string(e->str, sizeof e->str) : std::string());
    }
    PageCheck check = CheckDrawnPage(label, painter, checker);
    // Drawing stepped the serial numbers (and released the stepped barcodes' bars): put them back.
    for (std::size_t i = 0; i < label.m_elements.size(); ++i) {
        if (Element* e = label.m_elements[i].get(); e && contents[i].size() == sizeof e->str) {
            std::memcpy(e->str, contents[i].data(), sizeof e->str);
        }
    }
    return check;
}

std::vector<PageCheck> CheckJobPages(Label& label, const LabelPainter& painter, int copies,
                                     LabelChecker& checker) {
    const int pages = HasSerializedElement(label) ? copies : std::min(copies, 1);
    std::vector<PageCheck> checks;
    for (int i = 0; i < pages; ++i) {
        checks.push_back(CheckDrawnPage(label, painter, checker));
    }
    return checks;
}

}  // namespace etiqo
