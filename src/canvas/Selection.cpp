#include "canvas/Selection.h"

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

}  // namespace

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
