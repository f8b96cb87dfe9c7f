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
    EXPECT_EQ(e.nPosX, want.x) << what << " grip " << want.grip;
    EXPECT_EQ(e.nPosY, want.y) << what << " grip " << want.grip;
    EXPECT_EQ(e.nWidth, want.w) << what << " grip " << want.grip;
    EXPECT_EQ(e.nHeight, want.h) << what << " grip " << want.grip;
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

TEST(Resize, CornerDragAtScaleOneAndAHalf) {
    const Element e =
        Resized(Box(ElementKind::Picture, 40, 40, 100, 100), 7, {200, 200}, {230, 220}, {1.5, 1.5});
    ExpectBox(e, {7, 40, 40, 120, 113}, "picture");
}

TEST(Resize, ADragBeyondTheOppositeEdgeLeavesANegativeSize) {
    const Element e = Resized(Box(ElementKind::Shape, 100, 100, 200, 100), 4, {300, 150}, {50, 150});
    EXPECT_EQ(e.nWidth, -50);
}

TEST(Resize, TheBarcodeTopGripKeepsTheBarsAboveTheirMinimum) {
    Element e = Box(ElementKind::Barcode, 0, 100, 300, 80);
    e.nMinBarHeight = 15;
    e.nSize = 1;
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, 132});  // 40 lower: 40 left, above 35
    EXPECT_EQ(e.nHeight, 40);
    EXPECT_EQ(e.nPosY, 132);
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, 137});  // 35 would not be above the minimum
    EXPECT_EQ(e.nHeight, 40);
    EXPECT_EQ(e.nPosY, 132);
    SizeBarcode(e, {1.0, 1.0}, {150, 92}, {150, -400});  // upward: no limit
    EXPECT_EQ(e.nHeight, 572);
}

TEST(Resize, TurnedTextsArePlacedFromHalvesOfTheChanges) {
    Element text = Box(ElementKind::Text, 100, 100, 201, 100);
    text.nEscapement = 900;
    Element picture = text;
    picture.nKind = ElementKind::Picture;
    // Grip 1 dragged 21 dots down: width 180.
    const Element t = Resized(text, 1, {0, 0}, {0, 21});
    ExpectBox(t, {1, 110, 110, 180, 100}, "text");
    const Element p = Resized(picture, 1, {0, 0}, {0, 21});
    ExpectBox(p, {1, 110, 111, 180, 100}, "picture");
}

TEST(Resize, TurnedBoundsDifferForTextsAt2700) {
    // Grip 1 pulled below the bottom: pictures refuse, texts at 2700 do not.
    for (const auto kind : {ElementKind::Picture, ElementKind::Text}) {
        Element e = Box(kind, 100, 100, 50, 40);
        e.nEscapement = 2700;
        const Element out = Resized(e, 1, {0, 0}, {0, 80});
        EXPECT_EQ(out.nWidth, kind == ElementKind::Text ? -30 : 50) << int(kind);
    }
}

}  // namespace
}  // namespace etiqo
