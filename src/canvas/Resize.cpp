#include "canvas/Resize.h"

#include <cstdint>

#include "canvas/HitTest.h"

namespace etiqo {
namespace {

enum class Family { Font, Picture, Barcode, Rectangle };

struct Offsets {
    double dxD;  // pointer offset from the press point, in dots
    double dyD;
    std::int64_t dx;  // the same, truncated toward zero
    std::int64_t dy;
};

bool OnLeftEdge(int grip) {
    return grip == 0 || grip == 3 || grip == 5;
}
bool OnRightEdge(int grip) {
    return grip == 2 || grip == 4 || grip == 7;
}
bool OnTopEdge(int grip) {
    return grip == 0 || grip == 1 || grip == 2;
}
bool OnBottomEdge(int grip) {
    return grip == 5 || grip == 6 || grip == 7;
}

// Unturned: a left or top edge goes to the pointer itself, the size changes by the offset.
void ResizeUpright(Element& e, Family family, int grip, DisplayScale s, PixelPoint p, const Offsets& o) {
    const double w0 = e.nOrgWidth;
    const double h0 = e.nOrgHeight;
    const std::int32_t pointerX = TruncToInt(p.x / s.x);
    const std::int32_t pointerY = TruncToInt(p.y / s.y);
    switch (grip) {
        case 0:
            e.nPosX = pointerX;
            e.nPosY = pointerY;
            e.nWidth = SaturatedInt(e.nOrgWidth - o.dx);
            e.nHeight = SaturatedInt(e.nOrgHeight - o.dy);
            break;
        case 1:
            // The top grip of a barcode cannot squeeze the bars below their minimum.
            if (family == Family::Barcode && !(static_cast<double>(e.nMinBarHeight) + 20 < h0 - o.dyD)) {
                break;
            }
            e.nPosY = pointerY;
            e.nHeight = TruncToInt(h0 - o.dyD);
            break;
        case 2:
            e.nPosY = pointerY;
            e.nWidth = TruncToInt(o.dxD + w0);
            e.nHeight = TruncToInt(h0 - o.dyD);
            break;
        case 3:
            e.nPosX = pointerX;
            e.nWidth = TruncToInt(w0 - o.dxD);
            break;
        case 4:
            e.nWidth = TruncToInt(w0 + o.dxD);
            break;
        case 5:
            e.nPosX = pointerX;
            e.nWidth = TruncToInt(w0 - o.dxD);
            e.nHeight = TruncToInt(o.dyD + h0);
            break;
        case 6:
            e.nHeight = TruncToInt(h0 + o.dyD);
            break;
        case 7:
            e.nWidth = TruncToInt(w0 + o.dxD);
            e.nHeight = TruncToInt(o.dyD + h0);
            break;
        default:
            break;
    }
}

// Upside down: the box is displayed unturned, so the grips act as upright, in whole dots.
void ResizeUpsideDown(Element& e, int grip, const Offsets& o) {
    const std::int64_t x0 = e.nOrgPosX;
    const std::int64_t y0 = e.nOrgPosY;
    const std::int64_t w0 = e.nOrgWidth;
    const std::int64_t h0 = e.nOrgHeight;
    if (grip == 0 && !(w0 - o.dx > 0 && h0 - o.dy > 0)) {
        return;
    }
    if (OnLeftEdge(grip)) {
        e.nPosX = SaturatedInt(x0 + o.dx);
        e.nWidth = SaturatedInt(w0 - o.dx);
    } else if (OnRightEdge(grip)) {
        e.nWidth = SaturatedInt(w0 + o.dx);
    }
    if (OnTopEdge(grip)) {
        e.nPosY = SaturatedInt(y0 + o.dy);
        e.nHeight = SaturatedInt(h0 - o.dy);
    } else if (OnBottomEdge(grip)) {
        e.nHeight = SaturatedInt(h0 + o.dy);
    }
}

// A quarter turn: the grips belong to the displayed box (width nHeight, height nWidth), so a
// horizontal drag changes nHeight and a vertical one nWidth; the edges the grip does not
// move stay in place.
void ResizeTurned(Element& e, Family family, int angle, int grip, const Offsets& o) {
    const std::int64_t x0 = e.nOrgPosX;
    const std::int64_t y0 = e.nOrgPosY;
    const std::int64_t w0 = e.nOrgWidth;
    const std::int64_t h0 = e.nOrgHeight;
    const bool left = OnLeftEdge(grip);
    const bool right = OnRightEdge(grip);
    const bool top = OnTopEdge(grip);
    const bool bottom = OnBottomEdge(grip);

    const std::int64_t h = left ? h0 - o.dx : right ? h0 + o.dx : e.nHeight;
    const std::int64_t w = top ? w0 - o.dy : bottom ? w0 + o.dy : e.nWidth;

    bool allowed = true;
    if (family == Family::Font && angle == 2700) {
        if (grip == 0) {
            allowed = h > 0 && w > 0;
        } else if (grip == 3 || grip == 4) {
            allowed = h > 0;
        }
    } else if (grip == 0) {
        allowed = h > 0 && w > 0;
    } else if (grip == 1 || grip == 2) {
        allowed = w > 0;
    } else if (grip == 3 || grip == 4 || grip == 5) {
        allowed = h > 0;
    }
    if (!allowed) {
        return;
    }

    std::int64_t posX = 0;
    std::int64_t posY = 0;
    if (family == Family::Font) {
        // Texts are placed from halves of the changes; this can differ from the box rule below
        // by one dot.
        posX = x0 + (top || bottom ? w0 / 2 - w / 2 : 0) +
               (left    ? h0 / 2 - h / 2
                : right ? h / 2 - h0 / 2
                        : 0);
        posY = y0 + (top || bottom ? o.dy / 2 : 0) + (left ? o.dx / 2 : right ? -o.dx / 2 : 0);
    } else {
        const std::int64_t displayedLeft0 = x0 + w0 / 2 - h0 / 2;
        const std::int64_t displayedTop0 = y0 + h0 / 2 - w0 / 2;
        const std::int64_t displayedLeft = left ? displayedLeft0 + h0 - h : displayedLeft0;
        const std::int64_t displayedTop = top ? displayedTop0 + w0 - w : displayedTop0;
        posX = displayedLeft + h / 2 - w / 2;
        posY = grip == 3 ? y0 + o.dx / 2 : displayedTop + w / 2 - h / 2;
    }
    e.nPosX = SaturatedInt(posX);
    e.nPosY = SaturatedInt(posY);
    e.nWidth = SaturatedInt(w);
    e.nHeight = SaturatedInt(family == Family::Font && angle == 900 && grip == 1 ? h0 : h);
}

EditCursor Resize(Element& e, Family family, DisplayScale s, PixelPoint mouseDown, PixelPoint p) {
    const int grip = e.nSize;
    Offsets o{};
    o.dxD = (p.x - mouseDown.x) / s.x;
    o.dyD = (p.y - mouseDown.y) / s.y;
    o.dx = TruncToInt(o.dxD);
    o.dy = TruncToInt(o.dyD);
    if (grip >= 0 && grip <= 7) {
        switch (const std::int32_t angle = NormalisedAngle(e.nEscapement); angle) {
            case 900:
            case 2700:
                ResizeTurned(e, family, angle, grip, o);
                break;
            case 1800:
                ResizeUpsideDown(e, grip, o);
                break;
            default:
                ResizeUpright(e, family, grip, s, p, o);
                break;
        }
    }
    return GripCursor(e.nKind, grip);
}

}  // namespace

EditCursor SizeFont(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p) {
    return Resize(e, Family::Font, scale, mouseDown, p);
}
EditCursor SizePicture(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p) {
    return Resize(e, Family::Picture, scale, mouseDown, p);
}
EditCursor SizeBarcode(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p) {
    return Resize(e, Family::Barcode, scale, mouseDown, p);
}
EditCursor SizeRectangle(Element& e, DisplayScale scale, PixelPoint mouseDown, PixelPoint p) {
    return Resize(e, Family::Rectangle, scale, mouseDown, p);
}

}  // namespace etiqo
