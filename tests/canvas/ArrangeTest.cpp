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
    EXPECT_EQ(LabelDotsWhole(203, 50), 400);
    EXPECT_EQ(LabelDotsWhole(203, 80), 639);
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
    for (const int step : {-900, -900, -900, 900, 900, 900, 900}) {
        RotateSelection(list, step, release);
    }
    EXPECT_EQ(barcode.nEscapement, 0);
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
