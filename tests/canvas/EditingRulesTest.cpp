// The editing rules on plain element lists: choosing, hovering over grips, dragging, resizing by
// each grip (unturned, upside down, turned), placing, aligning, spacing, reordering, turning and nudging.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "CanvasTestElements.h"
#include "canvas/Arrange.h"
#include "canvas/HitTest.h"
#include "canvas/Keys.h"
#include "canvas/MouseDrag.h"
#include "canvas/Resize.h"
#include "canvas/Selection.h"

namespace etiqo {
namespace {

using test::Add;
using test::Box;
using test::Line;
using test::SelectedFlags;

constexpr DisplayScale kUnit{1.0, 1.0};

TEST(HitBox, TurnedBoxesSwapTheirSidesAboutTheCentre) {
    // A 100 × 40 dot box at (200, 100), scale 1.5 × 2.
    const struct {
        ElementKind kind;
        int escapement;
        PixelBox expected;
    } cases[] = {
        {ElementKind::Picture, 0, {300, 200, 150, 80}},
        {ElementKind::Picture, 900, {335, 165, 80, 150}},   // cx 375, cy 240
        {ElementKind::Barcode, -900, {335, 165, 80, 150}},  // -900 counts as 2700
        {ElementKind::Text, 900, {345, 140, 80, 150}},      // (200+50-20)*1.5, (100+20-50)*2
        {ElementKind::Code2D, 900, {300, 200, 150, 80}},    // drawn unturned
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

std::vector<int> Xs(const ElementList& list) {
    std::vector<int> xs;
    for (const auto& e : list) {
        xs.push_back(e->nPosX);
    }
    return xs;
}

// Texts at x = 0, 1, 2 … selected as given.
ElementList Row(std::vector<bool> selected) {
    ElementList list;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        Add(list, Box(ElementKind::Text, static_cast<int>(i), 0, 10, 10, selected[i]));
    }
    return list;
}

TEST(PositionElement, PlacesUnturnedSelectedElements) {
    ElementList list;
    Element& a = Add(list, Box(ElementKind::Text, 50, 80, 100, 30, true));
    Element& turned = Add(list, Box(ElementKind::Picture, 50, 80, 100, 30, true));
    turned.nEscapement = 900;
    Element& line = Add(list, Line(20, 30, 200, 300, true));
    PositionElement(list, PositionMode::Top, 406, 640);
    EXPECT_EQ((std::array{a.nPosX, a.nPosY, turned.nPosY, line.nPosY, line.nEndY}),
              (std::array{50, 0, 80, 0, 300}));  // a line is placed by its start point only
    const std::pair<PositionMode, std::array<int, 2>> rows[] = {{PositionMode::Right, {306, 0}},
                                                                {PositionMode::VerticalCenter, {306, 305}},
                                                                {PositionMode::Bottom, {306, 610}}};
    for (const auto& [where, at] : rows) {
        PositionElement(list, where, 406, 640);
        EXPECT_EQ((std::array{a.nPosX, a.nPosY}), at) << static_cast<int>(where);
    }
}

TEST(AlignElement, LinesUpByTheBoxAndLeavesTurnedElements) {
    ElementList list;
    Add(list, Box(ElementKind::Text, 40, 0, 10, 10, true));
    Add(list, Box(ElementKind::Text, 10, 20, 10, 10, true)).nEscapement = 900;
    Add(list, Box(ElementKind::Text, 25, 40, 10, 10, true));
    EXPECT_TRUE(AlignElement(list, AlignMode::Left));
    EXPECT_EQ(Xs(list), (std::vector<int>{25, 10, 25}));
    list[1]->nEscapement = 0;
    AlignElement(list, AlignMode::Left);
    EXPECT_EQ(Xs(list), (std::vector<int>{10, 10, 10}));

    list.clear();
    Add(list, Box(ElementKind::Text, 0, 0, 100, 20, true));
    Element& barcode = Add(list, Box(ElementKind::Barcode, 50, 50, 300, 80, true));
    AlignElement(list, AlignMode::Right);
    AlignElement(list, AlignMode::Bottom);
    EXPECT_EQ((std::array{list[0]->nPosX, list[0]->nPosY}), (std::array{250, 110}));
    EXPECT_EQ((std::array{barcode.nPosX, barcode.nPosY}), (std::array{50, 50}));
}

TEST(AlignElement, OrderingMovesTheFirstSelectedElementOnly) {
    const struct {
        AlignMode command;
        std::vector<bool> selected;
        bool moved;
        std::vector<int> order;
    } rows[] = {
        {AlignMode::MoveToFront, {false, true, false, true}, true, {0, 2, 3, 1}},
        {AlignMode::MoveToBack, {false, true, false}, true, {1, 0, 2}},
        {AlignMode::BringForward, {false, true, false}, true, {0, 2, 1}},
        {AlignMode::SendBackward, {false, true, false}, true, {1, 0, 2}},
        {AlignMode::BringForward, {false, false, true}, false, {0, 1, 2}},
        {AlignMode::SendBackward, {true, false}, false, {0, 1}},
        {AlignMode::MoveToFront, {false, false}, false, {0, 1}},
    };
    for (const auto& row : rows) {
        ElementList list = Row(row.selected);
        EXPECT_EQ(AlignElement(list, row.command), row.moved) << static_cast<int>(row.command);
        EXPECT_EQ(Xs(list), row.order) << static_cast<int>(row.command);
    }
}

TEST(AlignElement, EqualSpacingSpacesTheEdgesInAnyListOrder) {
    for (const auto& order : {std::vector{0, 30, 100}, std::vector{100, 0, 30}, std::vector{30, 100, 0}}) {
        ElementList list;
        for (const int x : order) {
            Add(list, Box(ElementKind::Text, x, x, 10 + x, 10, true));
        }
        AlignElement(list, AlignMode::SpaceHorizontally);
        AlignElement(list, AlignMode::SpaceVertically);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const int want = order[i] == 30 ? 50 : order[i];
            EXPECT_EQ((std::array{list[i]->nPosX, list[i]->nPosY}), (std::array{want, want}));
        }
    }
}

TEST(RotateSelection, QuarterTurnsAndCacheRelease) {
    ElementList list;
    Element& barcode = Add(list, Box(ElementKind::Barcode, 0, 0, 10, 10, true));
    barcode.hImage = 7;
    Element& other = Add(list, Box(ElementKind::Text, 0, 0, 10, 10));
    std::vector<std::uint32_t> released;
    const auto release = [&](std::uint32_t h) { released.push_back(h); };
    EXPECT_TRUE(RotateSelection(list, -900, release));
    EXPECT_EQ((std::array{barcode.nEscapement, barcode.lfFont.lfEscapement}), (std::array{-900, -900}));
    EXPECT_EQ(barcode.hImage, 0u);
    EXPECT_EQ(released, (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(other.nEscapement, 0);
    barcode.bSelected = 0;
    EXPECT_FALSE(RotateSelection(list, 900, release));
}

// Arrows move the first selected element (a line with both ends) by a dot, the top no further than
// -1; Delete names the first selected element; nothing selected, nothing moves.
TEST(HandleEditKey, NudgesTheFirstSelectedElement) {
    ElementList list;
    Element& a = Add(list, Box(ElementKind::Text, 5, 0, 10, 10, true));
    Element& b = Add(list, Box(ElementKind::Text, 5, 0, 10, 10, true));
    for (const EditKey key : {EditKey::Up, EditKey::Up, EditKey::Right, EditKey::Down}) {
        HandleEditKey(list, key);
    }
    EXPECT_EQ((std::array{a.nPosX, a.nPosY, b.nPosX}), (std::array{6, 0, 5}));
    a.bSelected = 0;
    EXPECT_EQ(HandleEditKey(list, EditKey::Delete).deleteFrom, std::optional<std::size_t>(1));

    list.clear();
    Element& line = Add(list, Line(0, 0, 50, 60, true));
    for (const EditKey key : {EditKey::Up, EditKey::Up, EditKey::Left}) {
        HandleEditKey(list, key);
    }
    EXPECT_EQ((std::array{line.nPosX, line.nPosY, line.nEndX, line.nEndY}), (std::array{-1, -2, 49, 58}));
    line.bSelected = 0;
    EXPECT_FALSE(HandleEditKey(list, EditKey::Down).repaint);
    EXPECT_EQ(line.nPosY, -2);
}

}  // namespace
}  // namespace etiqo
