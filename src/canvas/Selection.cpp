#include "canvas/Selection.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/HitTest.h"

namespace etiqo {
namespace {

void DeselectAllBut(ElementList& elements, const Element* keep) {
    for (auto& other : elements) {
        if (other.get() != keep) {
            other->bSelected = 0;
        }
    }
}

// A box with its extents counted from the smaller edge, at least one pixel each way.
PixelBox Normalised(PixelBox box) {
    if (box.width < 0) {
        box.left += box.width;
        box.width = -box.width;
    }
    if (box.height < 0) {
        box.top += box.height;
        box.height = -box.height;
    }
    box.width = std::max(box.width, 1);
    box.height = std::max(box.height, 1);
    return box;
}

bool Meet(PixelBox a, PixelBox b) {
    return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

// What a line covers on the screen: the box its two end points span.
PixelBox LineBox(const Element& e, DisplayScale scale) {
    const int x0 = ClampPixels(DotsToPixels(e.nPosX, scale.x));
    const int y0 = ClampPixels(DotsToPixels(e.nPosY, scale.y));
    const int x1 = ClampPixels(e.nEndX);
    const int y1 = ClampPixels(e.nEndY);
    return {std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0) + 1, std::abs(y1 - y0) + 1};
}

}  // namespace

bool PressCatchesElement(const ElementList& elements, DisplayScale scale, PixelPoint p) {
    return std::any_of(elements.begin(), elements.end(), [&](const ElementPtr& item) {
        const Element& e = *item;
        if (e.bSelected && (e.nSize != kNoGrip || PressedGrip(e, scale, p) != kNoGrip)) {
            return true;
        }
        return e.nKind == ElementKind::Line ? LineHit(e, scale, p) : BoxHolds(e.nKind, HitBox(e, scale), p);
    });
}

void SelectInBand(ElementList& elements, DisplayScale scale, PixelPoint a, PixelPoint b,
                  const std::vector<char>& before) {
    const PixelBox band{std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x) + 1,
                        std::abs(b.y - a.y) + 1};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        Element& e = *elements[i];
        const PixelBox box = e.nKind == ElementKind::Line ? LineBox(e, scale) : Normalised(HitBox(e, scale));
        e.bSelected = Meet(band, box) || (i < before.size() && before[i] != 0) ? 1 : 0;
    }
}

std::optional<EditCursor> SelectAtPress(ElementList& elements, DisplayScale scale, PixelPoint p,
                                        bool extend) {
    // A shape under the point is chosen only if nothing else under the point lies above it,
    // so a text inside a frame wins over the frame.
    Element* shapeCandidate = nullptr;
    for (auto& item : elements) {
        Element& e = *item;
        if (e.nSize != kNoGrip && e.bSelected) {
            return GripCursor(e.nKind, e.nSize);  // the armed grip starts the drag that follows
        }
        const bool inBox = BoxHolds(e.nKind, HitBox(e, scale), p);
        if (e.nSize != kNoGrip && inBox) {
            e.bSelected = 1;
            return GripCursor(e.nKind, e.nSize);
        }
        if (e.nKind == ElementKind::Line) {
            if (LineHit(e, scale, p)) {
                e.bSelected = 1;
                if (!extend) {
                    DeselectAllBut(elements, &e);
                }
                return std::nullopt;
            }
        } else if (e.bSelected) {
            if (const int grip = PressedGrip(e, scale, p); grip != kNoGrip) {
                e.nSize = grip;
                return GripCursor(e.nKind, grip);
            }
        }
        if (!inBox) {
            if (!extend) {
                e.bSelected = 0;
            }
            continue;
        }
        if (e.nKind == ElementKind::Shape) {
            shapeCandidate = &e;
            continue;
        }
        if (shapeCandidate != nullptr) {
            shapeCandidate->bSelected = 0;
            shapeCandidate = nullptr;
        }
        e.bSelected = 1;
        if (!extend) {
            DeselectAllBut(elements, &e);
        }
    }
    if (shapeCandidate != nullptr) {
        shapeCandidate->bSelected = 1;
    }
    return std::nullopt;
}

std::vector<ContextHit> SelectForContextMenu(ElementList& elements, DisplayScale scale, PixelPoint p) {
    for (auto& e : elements) {
        e->bSelected = BoxHolds(e->nKind, DisplayBox(*e, scale), p) ? 1 : 0;
    }
    std::vector<ContextHit> hits;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        Element& e = *elements[i];
        bool holds = false;
        if (e.nKind == ElementKind::Barcode) {
            PixelBox box = DisplayBox(e, scale);
            box.width = ClampPixels(DotsToPixels(e.nHitWidth, scale.x));
            box.height = ClampPixels(DotsToPixels(e.nHitHeight, scale.y));
            holds = box.Contains(p);  // an unfilled size matches nothing
        } else {
            holds = BoxHolds(e.nKind, DisplayBox(e, scale), p);
        }
        if (holds) {
            hits.push_back({i, &e});
        }
    }
    return hits;
}

}  // namespace etiqo
