// Resizing by each grip, unturned, upside down and turned, and the family differences.
#include <gtest/gtest.h>

#include "CanvasTestElements.h"
#include "canvas/Resize.h"

namespace etiqo {
namespace {

using test::Box;

struct Expected {
    int grip;
    int x, y, w, h;
};

Element Resized(Element e, int grip, PixelPoint down, PixelPoint p, DisplayScale scale = {1.0, 1.0}) {
    e.nSize = grip;
    switch (e.nKind) {
        case ElementKind::Text:
            SizeFont(e, scale, down, p);
            break;
        case ElementKind::Barcode:
            SizeBarcode(e, scale, down, p);
            break;
        case ElementKind::Shape:
            SizeRectangle(e, scale, down, p);
            break;
        default:
            SizePicture(e, scale, down, p);
            break;
    }
    return e;
}

void ExpectBox(const Element& e, const Expected& want, const char* what) {
    EXPECT_EQ((std::array{e.nPosX, e.nPosY, e.nWidth, e.nHeight}),
              (std::array{want.x, want.y, want.w, want.h}))
        << what << " grip " << want.grip;
}

// The committed box (100, 100, 200 × 100) dragged by (+10, +20) from a press at (50, 50).
constexpr PixelPoint kDown{50, 50};
constexpr PixelPoint kPointer{60, 70};

TEST(Resize, EachGripOfAnUprightElement) {
    // Left and top edges go to the pointer itself (60, 70); sizes change by the offset.
    const Expected cases[] = {
        {0, 60, 70, 190, 80},    {1, 100, 70, 200, 80},  {2, 100, 70, 210, 80},   {3, 60, 100, 190, 100},
        {4, 100, 100, 210, 100}, {5, 60, 100, 190, 120}, {6, 100, 100, 200, 120}, {7, 100, 100, 210, 120},
    };
    for (const auto kind :
         {ElementKind::Picture, ElementKind::Text, ElementKind::Shape, ElementKind::Code2D}) {
        for (const auto& c : cases) {
            ExpectBox(Resized(Box(kind, 100, 100, 200, 100), c.grip, kDown, kPointer), c, "upright");
        }
    }
}

TEST(Resize, EachGripOfAQuarterTurnedElementKeepsTheUntouchedDisplayedEdges) {
    // Displayed box: left 150, top 50, 100 wide, 200 high. A horizontal drag changes nHeight.
    const Expected cases[] = {
        {0, 115, 115, 180, 90}, {1, 110, 110, 180, 100}, {2, 115, 105, 180, 110}, {3, 105, 105, 200, 90},
        {4, 105, 95, 200, 110}, {5, 95, 115, 220, 90},   {6, 90, 110, 220, 100},  {7, 95, 105, 220, 110},
    };
    for (const int angle : {900, 2700, -900}) {
        for (const auto& c : cases) {
            Element e = Box(ElementKind::Picture, 100, 100, 200, 100);
            e.nEscapement = angle;
            const Element out = Resized(e, c.grip, kDown, kPointer);
            ExpectBox(out, c, "turned picture");
            if (c.grip == 4) {
                EXPECT_EQ(out.nPosX + out.nWidth / 2 - out.nHeight / 2, 150);  // displayed left edge stays
            }
        }
    }
}

TEST(Resize, UpsideDownGripsWorkInWholeDotsAndTheTopLeftKeepsASize) {
    const Expected cases[] = {
        {0, 110, 120, 190, 80},  {1, 100, 120, 200, 80},  {2, 100, 120, 210, 80},  {3, 110, 100, 190, 100},
        {4, 100, 100, 210, 100}, {5, 110, 100, 190, 120}, {6, 100, 100, 200, 120}, {7, 100, 100, 210, 120},
    };
    for (const auto& c : cases) {
        Element e = Box(ElementKind::Barcode, 100, 100, 200, 100);
        e.nEscapement = 1800;
        ExpectBox(Resized(e, c.grip, kDown, kPointer), c, "upside down");
    }
    Element small = Box(ElementKind::Picture, 100, 100, 50, 50);
    small.nEscapement = 1800;
    ExpectBox(Resized(small, 0, {0, 0}, {60, 10}), {0, 100, 100, 50, 50}, "refused");
}

TEST(Resize, TheBarcodeTopGripKeepsTheBarsAboveTheirMinimum) {
    Element e = Box(ElementKind::Barcode, 0, 100, 300, 80);
    e.nMinBarHeight = 15;
    e.nSize = 1;
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, 132});  // 40 lower: 40 left, above 35
    EXPECT_EQ((std::array{e.nHeight, e.nPosY}), (std::array{40, 132}));
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, 137});  // 35 would not be above the minimum
    EXPECT_EQ((std::array{e.nHeight, e.nPosY}), (std::array{40, 132}));
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, -400});  // upward: no limit
    EXPECT_EQ(e.nHeight, 572);
}

// Single drags, one row each: a scaled corner, a drag past the opposite edge, turned texts placed
// from halves of the changes, and texts at 2700 that (unlike pictures) may pass the bottom.
TEST(Resize, SingleDrags) {
    const struct {
        ElementKind kind;
        int escapement, x, y, w, h, grip, downX, downY, toX, toY;
        double scale;
        int wantX, wantY, wantW, wantH;
    } rows[] = {
        {ElementKind::Picture, 0, 40, 40, 100, 100, 7, 200, 200, 230, 220, 1.5, 40, 40, 120, 113},
        {ElementKind::Shape, 0, 100, 100, 200, 100, 4, 300, 150, 50, 150, 1, 100, 100, -50, 100},
        {ElementKind::Text, 900, 100, 100, 201, 100, 1, 0, 0, 0, 21, 1, 110, 110, 180, 100},
        {ElementKind::Picture, 900, 100, 100, 201, 100, 1, 0, 0, 0, 21, 1, 110, 111, 180, 100},
        {ElementKind::Text, 2700, 100, 100, 50, 40, 1, 0, 0, 0, 80, 1, 140, 140, -30, 40},
        {ElementKind::Picture, 2700, 100, 100, 50, 40, 1, 0, 0, 0, 80, 1, 100, 100, 50, 40},
    };
    for (const auto& r : rows) {
        Element e = Box(r.kind, r.x, r.y, r.w, r.h);
        e.nEscapement = r.escapement;
        const Element out = Resized(e, r.grip, {r.downX, r.downY}, {r.toX, r.toY}, {r.scale, r.scale});
        ExpectBox(out, {r.grip, r.wantX, r.wantY, r.wantW, r.wantH}, "single drag");
    }
}

}  // namespace
}  // namespace etiqo
