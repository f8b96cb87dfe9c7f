// Choosing elements, hovering over grips, dragging and releasing, on plain element lists.
#include <gtest/gtest.h>

#include <array>

#include "CanvasTestElements.h"
#include "canvas/HitTest.h"
#include "canvas/MouseDrag.h"
#include "canvas/Selection.h"

namespace etiqo {
namespace {

using test::Add;
using test::Box;
using test::Line;
using test::SelectedFlags;

constexpr DisplayScale kUnit{1.0, 1.0};

TEST(HitBox, TurnedBoxesSwapTheirSidesAboutTheCentre) {
    struct Case {
        ElementKind kind;
        int escapement;
        PixelBox expected;
    };
    // A 100 × 40 dot box at (200, 100), scale 1.5 × 2.
    const Case cases[] = {
        {ElementKind::Picture, 0, {300, 200, 150, 80}},
        {ElementKind::Picture, 1800, {300, 200, 150, 80}},
        {ElementKind::Picture, 900, {335, 165, 80, 150}},   // cx 375, cy 240
        {ElementKind::Barcode, -900, {335, 165, 80, 150}},  // -900 counts as 2700
        {ElementKind::Shape, 2700, {335, 165, 80, 150}},
        {ElementKind::Text, 900, {345, 140, 80, 150}},    // (200+50-20)*1.5, (100+20-50)*2
        {ElementKind::Code2D, 900, {300, 200, 150, 80}},  // drawn unturned
    };
    for (const auto& c : cases) {
        Element e = Box(c.kind, 200, 100, 100, 40);
        e.nEscapement = c.escapement;
        EXPECT_EQ(HitBox(e, {1.5, 2.0}), c.expected) << int(c.kind) << " at " << c.escapement;
    }
}

// Dragged past its left edge a box lies to the left; squeezed to nothing it keeps a few pixels to catch.
TEST(HitBox, SqueezedAndInvertedBoxesStayCatchable) {
    EXPECT_TRUE(BoxHolds(ElementKind::Picture, {100, 100, -30, 20}, {80, 110}));
    EXPECT_FALSE(BoxHolds(ElementKind::Picture, {100, 100, -30, 20}, {105, 110}));
    EXPECT_TRUE(BoxHolds(ElementKind::Shape, {100, 100, 0, 0}, {98, 101}));
    EXPECT_FALSE(BoxHolds(ElementKind::Line, {0, 0, 10, 10}, {5, 5}));  // a line's box is always empty
}

// The whole straight line counts, beyond its ends too; a steep one within a tenth of its slope.
TEST(LineHit, TheWholeStraightLineCounts) {
    const Element vertical = Line(40, 10, 41, 200);
    EXPECT_TRUE(LineHit(vertical, kUnit, {43, 5}));
    EXPECT_TRUE(LineHit(vertical, kUnit, {45, 100}));
    EXPECT_FALSE(LineHit(vertical, kUnit, {60, 100}));
    EXPECT_TRUE(LineHit(Line(0, 0, 100, 100), kUnit, {150, 151}));
    EXPECT_FALSE(LineHit(Line(0, 0, 100, 100), kUnit, {50, 80}));
}

// Presses in turn on one list: a later text over an earlier one, a text inside a frame, a line's
// extension, Shift or Ctrl adding.
TEST(SelectAtPress, PressesChooseAsAUserExpects) {
    ElementList list;
    Add(list, Box(ElementKind::Shape, 0, 0, 200, 200));
    Add(list, Box(ElementKind::Text, 10, 10, 100, 30));
    Add(list, Box(ElementKind::Text, 50, 20, 100, 30));
    Add(list, Box(ElementKind::Barcode, 300, 300, 50, 20));
    Add(list, Line(400, 100, 500, 200));
    const struct {
        const char* name;
        PixelPoint at;
        bool add;
        std::vector<int> selected;
    } rows[] = {
        {"the later of two texts", {60, 25}, false, {0, 0, 1, 0, 0}},
        {"the earlier where only it lies", {20, 15}, false, {0, 1, 0, 0, 0}},
        {"the frame around the texts", {150, 150}, false, {1, 0, 0, 0, 0}},
        {"adding keeps", {320, 310}, true, {1, 0, 0, 1, 0}},
        {"adding on nothing keeps", {700, 700}, true, {1, 0, 0, 1, 0}},
        {"a line on its extension", {550, 250}, false, {0, 0, 0, 0, 1}},
        {"nothing clears", {700, 700}, false, {0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SelectAtPress(list, kUnit, row.at, row.add);
        EXPECT_EQ(SelectedFlags(list), row.selected);
    }
}

TEST(SelectAtPress, APressOnAGripArmsIt) {
    ElementList list;
    Element& picture = Add(list, Box(ElementKind::Picture, 300, 300, 50, 50, true));
    Element& text = Add(list, Box(ElementKind::Text, 100, 100, 50, 20, true));
    // Picture grip 7 lies at (358, 352); its press square is 20 pixels wide.
    EXPECT_EQ(SelectAtPress(list, kUnit, {365, 360}, false), EditCursor::SizeNWSE);
    EXPECT_EQ(picture.nSize, 7);
    // With a grip armed, any press starts that resize and changes nothing else.
    EXPECT_EQ(SelectAtPress(list, kUnit, {0, 0}, false), EditCursor::SizeNWSE);
    EXPECT_EQ(SelectedFlags(list), (std::vector<int>{1, 1}));
    picture.nSize = kNoGrip;
    // Text grip 1 lies at (125, 92); its square spans 124..129 × 91..96.
    EXPECT_EQ(SelectAtPress(list, kUnit, {128, 95}, false), EditCursor::SizeNS);
    EXPECT_EQ(text.nSize, 1);
}

TEST(MouseMove, TwoDCodesOfferEdgeGripsOnlyForPdf417) {
    ElementList list;
    Element& qr = Add(list, Box(ElementKind::Code2D, 0, 0, 100, 100, true));
    qr.nSymbology = kSymbologyQrCode;
    qr.ptGrip[1] = {50, -8};
    qr.ptGrip[2] = {104, -8};
    int tool = kToolSelect;
    MouseMove(list, kUnit, {51, -7}, false, {}, tool);
    EXPECT_EQ(qr.nSize, kNoGrip);
    MouseMove(list, kUnit, {105, -7}, false, {}, tool);
    EXPECT_EQ(qr.nSize, 2);
    qr.nSize = kNoGrip;
    qr.nSymbology = kSymbologyPdf417;
    MouseMove(list, kUnit, {51, -7}, false, {}, tool);
    EXPECT_EQ(qr.nSize, 1);
}

TEST(MouseMove, ATriangleApexSlidesAlongTheTopEdge) {
    ElementList list;
    Element& tri = Add(list, Box(ElementKind::Shape, 100, 100, 80, 60, true));
    tri.nShapeType = kShapeTriangle;
    tri.nEndX = -1;  // apex at the middle: (140, 100)
    int tool = kToolSelect;
    EXPECT_EQ(MouseMove(list, kUnit, {143, 97}, false, {}, tool).cursor, EditCursor::SizeWE);
    EXPECT_EQ(tri.nSize, kTriangleApexGrip);
    MouseMove(list, kUnit, {170, 90}, true, {143, 97}, tool);
    EXPECT_EQ(tri.nEndX, 70);
    MouseMove(list, kUnit, {250, 90}, true, {143, 97}, tool);  // beyond the right edge: stays
    EXPECT_EQ(tri.nEndX, 70);
}

}  // namespace
}  // namespace etiqo
