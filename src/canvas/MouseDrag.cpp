#include "canvas/MouseDrag.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/HitTest.h"
#include "canvas/Resize.h"

namespace etiqo {
namespace {

constexpr int kLineEndReach = 4;      // pixels on both axes around a line's end point
constexpr int kApexReach = 4;         // pixels on both axes around a triangle's apex
constexpr int kClickShapeSize = 100;  // dots

bool Near(PixelPoint p, std::int64_t x, std::int64_t y, int reach) {
    return std::llabs(p.x - x) <= reach && std::llabs(p.y - y) <= reach;
}

bool OffersGrip(const Element& e, int grip) {
    // Only PDF417 is drawn from its own height; other 2D symbols are square, so their edge
    // grips would have no visible effect.
    const bool edgeGrip = grip == 1 || grip == 3 || grip == 4 || grip == 6;
    return !(e.nKind == ElementKind::Code2D && edgeGrip && e.nSymbology != kSymbologyPdf417);
}

int TriangleApexX(const Element& e, const PixelBox& box, DisplayScale scale) {
    return box.left + (e.nEndX == -1 ? box.width / 2 : ClampPixels(DotsToPixels(e.nEndX, scale.x)));
}

std::optional<EditCursor> HoverLine(Element& e, DisplayScale scale, PixelPoint p, bool leftDown,
                                    PixelPoint mouseDown, int& tool) {
    // While the button is down, what the drag does was settled at its press: an armed end stays
    // the one dragged, and a whole-line move stays one even where the moving start passes the
    // pointer. Only a press on an end that no hover had armed yet (no move before it) arms it now.
    if (leftDown) {
        if (e.nSize != kNoGrip) {
            return std::nullopt;
        }
        p = mouseDown;
    }
    const int startX = DotsToPixels(leftDown ? e.nOrgPosX : e.nPosX, scale.x);
    const int startY = DotsToPixels(leftDown ? e.nOrgPosY : e.nPosY, scale.y);
    const std::int64_t endX = leftDown ? e.nOrgEndX : e.nEndX;
    const std::int64_t endY = leftDown ? e.nOrgEndY : e.nEndY;
    if (Near(p, startX, startY, kLineEndReach)) {
        tool = kToolLineEnd;
        e.nSize = 0;
        return EditCursor::SizeWE;
    }
    if (Near(p, endX, endY, kLineEndReach)) {
        tool = kToolLineEnd;
        e.nSize = 1;
        return EditCursor::SizeWE;
    }
    if (!leftDown && (tool == kToolSelect || tool == kToolLineEnd)) {
        tool = kToolSelect;
        e.nSize = kNoGrip;
        return EditCursor::Arrow;
    }
    return std::nullopt;
}

std::optional<EditCursor> HoverGrips(Element& e, const PixelBox& box, DisplayScale scale, PixelPoint p,
                                     bool leftDown) {
    std::optional<EditCursor> cursor;
    for (int grip = 0; grip < 8; ++grip) {
        if (OffersGrip(e, grip) && InHoverSquare(e.ptGrip[grip], p)) {
            e.nSize = grip;
            cursor = GripCursor(e.nKind, grip);
            break;
        }
    }
    if (e.nKind == ElementKind::Shape && e.nShapeType == kShapeTriangle && !leftDown &&
        Near(p, TriangleApexX(e, box, scale), box.top, kApexReach)) {
        e.nSize = kTriangleApexGrip;
        cursor = EditCursor::SizeWE;
    }
    return cursor;
}

void DragLine(Element& e, DisplayScale scale, PixelPoint p, PixelPoint mouseDown) {
    switch (e.nSize) {
        case kNoGrip:
            e.nPosX = TruncToInt((p.x - mouseDown.x) / scale.x + e.nOrgPosX);
            e.nPosY = TruncToInt((p.y - mouseDown.y) / scale.y + e.nOrgPosY);
            e.nEndX = SaturatedInt(static_cast<std::int64_t>(e.nOrgEndX) - mouseDown.x + p.x);
            e.nEndY = SaturatedInt(static_cast<std::int64_t>(e.nOrgEndY) - mouseDown.y + p.y);
            break;
        case 0:
            e.nPosX = PixelsToDots(p.x, scale.x);
            e.nPosY = PixelsToDots(p.y, scale.y);
            break;
        case 1:
            e.nEndX = p.x;  // line ends are kept in display pixels
            e.nEndY = p.y;
            break;
        default:
            break;
    }
}

std::optional<EditCursor> DragGrip(Element& e, const PixelBox& box, DisplayScale scale, PixelPoint p,
                                   PixelPoint mouseDown) {
    switch (e.nKind) {
        case ElementKind::Text:
            return SizeFont(e, scale, mouseDown, p);
        case ElementKind::Picture:
        case ElementKind::Code2D:
            return SizePicture(e, scale, mouseDown, p);
        case ElementKind::Barcode:
            return SizeBarcode(e, scale, mouseDown, p);
        case ElementKind::Shape:
            if (e.nSize != kTriangleApexGrip) {
                return SizeRectangle(e, scale, mouseDown, p);
            }
            // The apex slides along the top edge, measured from the left in dots.
            if (box.left <= p.x && p.x <= box.left + box.width) {
                e.nEndX = TruncToInt((p.x - box.left) / scale.x);
                return EditCursor::SizeWE;
            }
            return std::nullopt;
        case ElementKind::Line:
            break;
    }
    return std::nullopt;
}

void Commit(Element& e) {
    e.nOrgWidth = e.nWidth;
    e.nOrgHeight = e.nHeight;
    e.nOrgPosX = e.nPosX;
    e.nOrgPosY = e.nPosY;
    e.nOrgEndX = e.nEndX;
    e.nOrgEndY = e.nEndY;
}

}  // namespace

MoveOutcome MouseMove(ElementList& elements, DisplayScale scale, PixelPoint p, bool leftDown,
                      PixelPoint mouseDown, int& tool) {
    MoveOutcome out;
    const auto ask = [&out](std::optional<EditCursor> cursor) {
        if (cursor) {
            out.cursor = cursor;
        }
    };
    for (auto& item : elements) {
        Element& e = *item;
        if (!e.bSelected) {
            continue;
        }
        const PixelBox box = DisplayBox(e, scale);
        if (e.nKind == ElementKind::Line) {
            ask(HoverLine(e, scale, p, leftDown, mouseDown, tool));
        } else {
            ask(HoverGrips(e, box, scale, p, leftDown));
        }
        if (!leftDown) {
            continue;
        }
        out.repaint = true;
        if (e.nKind == ElementKind::Line) {
            DragLine(e, scale, p, mouseDown);
            break;  // elements after a dragged line wait for the next move
        }
        if (e.nSize != kNoGrip) {
            ask(DragGrip(e, box, scale, p, mouseDown));
        } else {
            // Each element moves from its own committed place by the pointer's offset.
            e.nPosX = TruncToInt((p.x - mouseDown.x) / scale.x + e.nOrgPosX);
            e.nPosY = TruncToInt((p.y - mouseDown.y) / scale.y + e.nOrgPosY);
            out.snapshot = true;
        }
    }
    return out;
}

bool CommitRelease(ElementList& elements, DisplayScale scale, PixelPoint p, int tool) {
    bool gripReleased = false;
    for (auto& item : elements) {
        Element& e = *item;
        if (!e.bSelected) {
            continue;
        }
        if (tool == kToolRectangle && e.nWidth == 0 && e.nHeight == 0) {
            // A click without a drag: a 100 × 100 shape centred on the click, kept on the label.
            e.nWidth = kClickShapeSize;
            e.nHeight = kClickShapeSize;
            e.nPosX = std::max(0, PixelsToDots(p.x, scale.x) - kClickShapeSize / 2);
            e.nPosY = std::max(0, PixelsToDots(p.y, scale.y) - kClickShapeSize / 2);
        }
        Commit(e);
        if (e.nSize != kNoGrip) {
            gripReleased = true;
            e.nSize = kNoGrip;
        }
    }
    return gripReleased;
}

void CommitPlacement(ElementList& elements) {
    for (auto& item : elements) {
        Commit(*item);
    }
}

}  // namespace etiqo
