#pragma once
// Building blocks for the canvas tests: committed records of each kind at a given box.

#include <memory>
#include <vector>

#include "model/Element.h"
#include "model/Label.h"

namespace etiqo::test {

inline Element Box(ElementKind kind, int x, int y, int w, int h, bool selected = false) {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nPosX = e.nOrgPosX = x;
    e.nPosY = e.nOrgPosY = y;
    e.nWidth = e.nOrgWidth = w;
    e.nHeight = e.nOrgHeight = h;
    e.nSize = kNoGrip;
    e.bSelected = selected ? 1 : 0;
    e.str[0] = 'A';
    return e;
}

// A line from (x0, y0) dots to (x1, y1) display pixels.
inline Element Line(int x0, int y0, int x1, int y1, bool selected = false) {
    Element e = Box(ElementKind::Line, x0, y0, 0, 0, selected);
    e.nEndX = e.nOrgEndX = x1;
    e.nEndY = e.nOrgEndY = y1;
    e.nPenWidth = 4;
    return e;
}

inline std::vector<int> SelectedFlags(const ElementList& list) {
    std::vector<int> flags;
    for (const auto& e : list) {
        flags.push_back(e->bSelected);
    }
    return flags;
}

inline Element& Add(ElementList& list, const Element& e) {
    list.push_back(std::make_unique<Element>(e));
    return *list.back();
}

}  // namespace etiqo::test
