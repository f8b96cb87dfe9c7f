#include "canvas/HitTest.h"

#include <cmath>
#include <cstdlib>

namespace etiqo {
namespace {

// Boxes narrower than this are widened for the hit test only.
constexpr int kMinHitExtent = 4;

void NormaliseAxis(int& start, int& extent) {
    if (extent < 0) {
        start += extent;
        extent = -extent;
    }
    if (extent < kMinHitExtent) {
        start -= (kMinHitExtent - extent) / 2;
        extent = kMinHitExtent;
    }
}

bool IsTurnedQuarter(std::int32_t escapement) {
    const std::int32_t angle = NormalisedAngle(escapement);
    return angle == 900 || angle == 2700;
}

}  // namespace

PixelBox DisplayBox(const Element& e, DisplayScale scale) {
    return {ClampPixels(DotsToPixels(e.nPosX, scale.x)), ClampPixels(DotsToPixels(e.nPosY, scale.y)),
            ClampPixels(DotsToPixels(e.nWidth, scale.x)), ClampPixels(DotsToPixels(e.nHeight, scale.y))};
}

PixelBox HitBox(const Element& e, DisplayScale scale) {
    const PixelBox box = DisplayBox(e, scale);
    if (!IsTurnedQuarter(e.nEscapement)) {
        return box;
    }
    switch (e.nKind) {
        case ElementKind::Text: {
            // Turned about the centre in dots, then scaled.
            const double left = (static_cast<double>(e.nPosX) + e.nWidth / 2 - e.nHeight / 2) * scale.x;
            const double top = (static_cast<double>(e.nPosY) + e.nHeight / 2 - e.nWidth / 2) * scale.y;
            return {ClampPixels(TruncToInt(left)), ClampPixels(TruncToInt(top)), box.height, box.width};
        }
        case ElementKind::Picture:
        case ElementKind::Barcode:
        case ElementKind::Shape: {
            const int cx = TruncToInt(box.left + e.nWidth * scale.x * 0.5);
            const int cy = TruncToInt(box.top + e.nHeight * scale.y * 0.5);
            return {cx - box.height / 2, cy - box.width / 2, box.height, box.width};
        }
        case ElementKind::Code2D:
        case ElementKind::Line:
            break;
    }
    return box;
}

bool BoxHolds(ElementKind kind, PixelBox box, PixelPoint p) {
    if (kind == ElementKind::Line) {
        return false;
    }
    NormaliseAxis(box.left, box.width);
    NormaliseAxis(box.top, box.height);
    return box.Contains(p);
}

std::array<PixelPoint, 8> PressGripPoints(PixelBox b) {
    const int r = b.Right();
    const int bottom = b.Bottom();
    const int mx = b.left + b.width / 2;
    const int my = b.top + b.height / 2;
    return {{{b.left - 8, b.top - 8},
             {mx, b.top - 8},
             {r + 8, b.top - 8},
             {b.left - 8, my - 2},
             {r + 8, my - 4},
             {b.left - 8, bottom + 2},
             {mx, bottom + 2},
             {r + 8, bottom + 2}}};
}

int PressedGrip(const Element& e, DisplayScale scale, PixelPoint p) {
    PixelBox box = HitBox(e, scale);
    int before = 1;
    int after = 5;
    if (e.nKind != ElementKind::Text) {
        // The big squares sit on grips of the unturned top-left with the turned extent.
        box.left = ClampPixels(DotsToPixels(e.nPosX, scale.x));
        box.top = ClampPixels(DotsToPixels(e.nPosY, scale.y));
        before = 10;
        after = 10;
    }
    const auto points = PressGripPoints(box);
    for (int grip = 0; grip < 8; ++grip) {
        const PixelBox square{points[grip].x - before, points[grip].y - before, before + after,
                              before + after};
        if (square.Contains(p)) {
            return grip;
        }
    }
    return kNoGrip;
}

bool InHoverSquare(GripPoint grip, PixelPoint p) {
    return PixelBox{ClampPixels(grip.x) - 1, ClampPixels(grip.y) - 1, 6, 6}.Contains(p);
}

EditCursor GripCursor(ElementKind kind, int grip) {
    if (kind == ElementKind::Line) {
        return EditCursor::SizeWE;
    }
    switch (grip) {
        case 0:
        case 7:
            return EditCursor::SizeNWSE;
        case 1:
        case 6:
            return EditCursor::SizeNS;
        case 2:
        case 5:
            return EditCursor::SizeNESW;
        default:
            return EditCursor::SizeWE;
    }
}

bool LineHit(const Element& line, DisplayScale scale, PixelPoint p) {
    const double x0 = line.nPosX * scale.x;
    const double y0 = line.nPosY * scale.y;
    const double x1 = line.nEndX;
    const double y1 = line.nEndY;
    if (std::abs(std::trunc(y1 - y0)) <= 2 && std::abs(p.y - y1) <= 2) {
        return true;  // horizontal
    }
    if (std::abs(std::trunc(x1 - x0)) <= 2 && std::abs(p.x - x1) <= 2) {
        return true;  // vertical
    }
    // Same slope as the line, seen from either end point. A zero divisor means no hit.
    if (y1 == y0) {
        return false;
    }
    const double k = (x1 - x0) / (y1 - y0);
    const auto sameSlope = [&](double ax, double ay) {
        if (p.y == ay) {
            return false;
        }
        const double d = (p.x - ax) / (p.y - ay) - k;
        return -0.1 <= d && d < 0.1;
    };
    return sameSlope(x0, y0) || sameSlope(x1, y1);
}

}  // namespace etiqo
