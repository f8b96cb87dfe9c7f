// Placing, aligning, spacing, reordering, turning and nudging the selection.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CanvasTestElements.h"
#include "canvas/Arrange.h"
#include "canvas/Keys.h"

namespace etiqo {
namespace {

using test::Add;
using test::Box;
using test::Line;

std::vector<int> Xs(const ElementList& list) {
    std::vector<int> xs;
    for (const auto& e : list) {
        xs.push_back(e->nPosX);
    }
    return xs;
}

TEST(PositionElement, PlacesUnturnedSelectedElements) {
    ElementList list;
    Element& a = Add(list, Box(ElementKind::Text, 50, 80, 100, 30, true));
    Element& turned = Add(list, Box(ElementKind::Picture, 50, 80, 100, 30, true));
    turned.nEscapement = 900;
    Element& line = Add(list, Line(20, 30, 200, 300, true));
    PositionElement(list, PositionMode::Top, 406, 640);
    EXPECT_EQ(a.nPosX, 50);
    EXPECT_EQ(a.nPosY, 0);
    EXPECT_EQ(turned.nPosY, 80);
    EXPECT_EQ(line.nPosY, 0);
    EXPECT_EQ(line.nEndY, 300);  // a line is placed by its start point only
    PositionElement(list, PositionMode::Right, 406, 640);
    EXPECT_EQ(a.nPosX, 306);
    PositionElement(list, PositionMode::VerticalCenter, 406, 640);
    EXPECT_EQ(a.nPosY, 305);
    PositionElement(list, PositionMode::Bottom, 406, 640);
    EXPECT_EQ(a.nPosY, 610);
    EXPECT_EQ(LabelDotsWhole(203, 50), 400);
    EXPECT_EQ(LabelDotsWhole(203, 80), 639);
}

TEST(AlignElement, LeftAlignIgnoresTurnedElements) {
    ElementList list;
    Add(list, Box(ElementKind::Text, 40, 0, 10, 10, true));
    Add(list, Box(ElementKind::Text, 10, 20, 10, 10, true));
    Add(list, Box(ElementKind::Text, 25, 40, 10, 10, true));
    EXPECT_TRUE(AlignElement(list, AlignMode::Left));
    EXPECT_EQ(Xs(list), (std::vector<int>{10, 10, 10}));

    list.clear();
    Add(list, Box(ElementKind::Text, 40, 0, 10, 10, true));
    Add(list, Box(ElementKind::Text, 10, 20, 10, 10, true)).nEscapement = 900;
    Add(list, Box(ElementKind::Text, 25, 40, 10, 10, true));
    AlignElement(list, AlignMode::Left);
    EXPECT_EQ(Xs(list), (std::vector<int>{25, 10, 25}));
}

TEST(AlignElement, RightAndBottomAlignMeasureBarcodesByTheirBox) {
    ElementList list;
    Add(list, Box(ElementKind::Text, 0, 0, 100, 20, true));
    Element& barcode = Add(list, Box(ElementKind::Barcode, 50, 50, 300, 80, true));
    AlignElement(list, AlignMode::Right);
    EXPECT_EQ(list[0]->nPosX, 250);
    EXPECT_EQ(barcode.nPosX, 50);
    AlignElement(list, AlignMode::Bottom);
    EXPECT_EQ(list[0]->nPosY, 110);
    EXPECT_EQ(barcode.nPosY, 50);
}

TEST(AlignElement, OrderingMovesTheFirstSelectedElementOnly) {
    const auto make = [](std::vector<bool> selected) {
        ElementList list;
        for (int i = 0; i < static_cast<int>(selected.size()); ++i) {
            Add(list, Box(ElementKind::Text, i, 0, 10, 10, selected[i]));
        }
        return list;
    };
    ElementList list = make({false, true, false, true});
    EXPECT_TRUE(AlignElement(list, AlignMode::MoveToFront));
    EXPECT_EQ(Xs(list), (std::vector<int>{0, 2, 3, 1}));
    list = make({false, true, false});
    AlignElement(list, AlignMode::MoveToBack);
    EXPECT_EQ(Xs(list), (std::vector<int>{1, 0, 2}));
    list = make({false, true, false});
    AlignElement(list, AlignMode::BringForward);
    EXPECT_EQ(Xs(list), (std::vector<int>{0, 2, 1}));
    list = make({false, true, false});
    AlignElement(list, AlignMode::SendBackward);
    EXPECT_EQ(Xs(list), (std::vector<int>{1, 0, 2}));
    list = make({false, false, true});
    EXPECT_FALSE(AlignElement(list, AlignMode::BringForward));
    list = make({true, false});
    EXPECT_FALSE(AlignElement(list, AlignMode::SendBackward));
    list = make({false, false});
    EXPECT_FALSE(AlignElement(list, AlignMode::MoveToFront));
}

TEST(AlignElement, EqualSpacingSpacesTheEdgesInAnyListOrder) {
    const std::vector<std::vector<int>> orders = {{0, 30, 100}, {100, 0, 30}, {30, 100, 0}};
    for (const auto& order : orders) {
        ElementList list;
        for (const int x : order) {
            Add(list, Box(ElementKind::Text, x, x, 10 + x, 10, true));
        }
        AlignElement(list, AlignMode::SpaceHorizontally);
        AlignElement(list, AlignMode::SpaceVertically);
        std::vector<int> expected;
        for (const int x : order) {
            expected.push_back(x == 30 ? 50 : x);
        }
        EXPECT_EQ(Xs(list), expected);
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->nPosY, expected[i]);
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
    EXPECT_EQ(barcode.nEscapement, -900);
    EXPECT_EQ(barcode.lfFont.lfEscapement, -900);
    EXPECT_EQ(barcode.hImage, 0u);
    EXPECT_EQ(released, (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(other.nEscapement, 0);
    for (int i = 0; i < 3; ++i) {
        RotateSelection(list, -900, release);
    }
    EXPECT_EQ(barcode.nEscapement, 0);
    for (int i = 0; i < 4; ++i) {
        RotateSelection(list, 900, release);
    }
    EXPECT_EQ(barcode.nEscapement, 0);
    barcode.bSelected = 0;
    EXPECT_FALSE(RotateSelection(list, 900, release));
}

TEST(HandleEditKey, NudgesTheFirstSelectedElement) {
    ElementList list;
    Element& a = Add(list, Box(ElementKind::Text, 5, 0, 10, 10, true));
    Element& b = Add(list, Box(ElementKind::Text, 5, 0, 10, 10, true));
    HandleEditKey(list, EditKey::Up);
    EXPECT_EQ(a.nPosY, -1);
    HandleEditKey(list, EditKey::Up);  // the top can reach -1 and no further
    EXPECT_EQ(a.nPosY, -1);
    HandleEditKey(list, EditKey::Right);
    HandleEditKey(list, EditKey::Down);
    EXPECT_EQ(a.nPosX, 6);
    EXPECT_EQ(a.nPosY, 0);
    EXPECT_EQ(b.nPosX, 5);
    a.bSelected = 0;
    const auto out = HandleEditKey(list, EditKey::Delete);
    ASSERT_TRUE(out.deleteFrom.has_value());
    EXPECT_EQ(*out.deleteFrom, 1u);
}

TEST(HandleEditKey, MovesBothEndsOfALineAndNothingWithoutASelection) {
    ElementList list;
    Element& line = Add(list, Line(0, 0, 50, 60, true));
    HandleEditKey(list, EditKey::Up);
    HandleEditKey(list, EditKey::Up);
    HandleEditKey(list, EditKey::Left);
    EXPECT_EQ(line.nPosY, -2);
    EXPECT_EQ(line.nEndY, 58);
    EXPECT_EQ(line.nPosX, -1);
    EXPECT_EQ(line.nEndX, 49);
    line.bSelected = 0;
    EXPECT_FALSE(HandleEditKey(list, EditKey::Down).repaint);
    EXPECT_EQ(line.nPosY, -2);
}

}  // namespace
}  // namespace etiqo
