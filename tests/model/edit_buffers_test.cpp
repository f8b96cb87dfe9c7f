#include <gtest/gtest.h>

#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/Label.h"

namespace etiqo {
namespace {

class EditBuffers : public ::testing::Test {
protected:
    testing::TempDir dir;
    Label label{SnapshotStore(dir / "snapshots")};

    // Elements at x = 1, 2, 3…; selected where the flag says.
    void Fill(std::initializer_list<bool> selected) {
        int x = 0;
        for (bool s : selected) {
            label.Append(MakeBarcodeElement(++x, 100, "1")).bSelected = s;
        }
    }
    std::vector<int> Xs() const {
        std::vector<int> xs;
        for (const ElementPtr& e : label.m_elements) {
            xs.push_back(e->nPosX);
        }
        return xs;
    }
    void Select(int x) {
        for (const ElementPtr& e : label.m_elements) {
            e->bSelected = e->nPosX == x;
        }
    }
};

TEST_F(EditBuffers, CopyPastesOffsetCopiesOnce) {
    Fill({false, true});
    label.m_elements[1]->hImage = 5;
    EXPECT_TRUE(label.HasSelection());
    label.CopySelection(CopyMark::Keep);
    EXPECT_EQ(label.m_copyBuffer.size(), 1u);
    EXPECT_EQ(label.m_copyBuffer[0]->hImage, 0u);
    EXPECT_TRUE(label.PasteBuffers());
    EXPECT_EQ(Xs(), (std::vector<int>{1, 2, 12}));
    EXPECT_EQ(label.m_elements[2]->nPosY, 110);
    EXPECT_EQ(label.m_elements[2]->bSelected, 1);  // selected along with its original
    EXPECT_FALSE(label.PasteBuffers());
    EXPECT_EQ(Xs(), (std::vector<int>{1, 2, 12}));
    EXPECT_EQ(label.m_nUndoCount, 0);  // paste takes no snapshot
}

TEST_F(EditBuffers, CopyTwiceBuffersBothSetsAndMarksTheSources) {
    Fill({true, false});
    label.CopySelection(CopyMark::Keep);
    Select(2);
    label.CopySelection(CopyMark::LeftOut);
    EXPECT_EQ(label.m_elements[1]->bCut, 1);  // the mark lands on the element copied
    EXPECT_EQ(label.m_elements[0]->bCut, 0);
    label.PasteBuffers();
    EXPECT_EQ(Xs(), (std::vector<int>{1, 2, 11, 12}));
}

TEST_F(EditBuffers, CutPastesBackOnTopAtTheOldPlace) {
    Fill({true, false, true});
    label.CutSelection();
    EXPECT_EQ(Xs(), std::vector<int>{2});
    EXPECT_EQ(label.m_cutBuffer.size(), 2u);
    EXPECT_EQ(label.m_nUndoCount, 1);  // taken before the change: the snapshot holds all three
    EXPECT_EQ(label.Snapshots().Read(1)->size(), 3u);
    label.PasteBuffers();
    EXPECT_EQ(Xs(), (std::vector<int>{2, 1, 3}));
}

TEST_F(EditBuffers, CopyAfterCutDropsTheCutElements) {
    Fill({true, false});
    label.CutSelection();
    Select(2);
    label.CopySelection(CopyMark::Keep);
    EXPECT_TRUE(label.m_cutBuffer.empty());
    label.PasteBuffers();
    EXPECT_EQ(Xs(), (std::vector<int>{2, 12}));
}

TEST_F(EditBuffers, CopyWithNothingSelectedStillEmptiesTheCutBuffer) {
    Fill({true, false});
    label.CopySelection(CopyMark::Keep);
    Select(1);
    label.CutSelection();
    Select(-1);
    EXPECT_FALSE(label.HasSelection());
    EXPECT_FALSE(label.DeleteSelection());
    EXPECT_EQ(label.m_nUndoCount, 1);  // the cut's snapshot only
    label.CopySelection(CopyMark::Keep);
    EXPECT_EQ(label.m_copyBuffer.size(), 1u);
    EXPECT_TRUE(label.m_cutBuffer.empty());
}

TEST_F(EditBuffers, PasteNeverOverflowsAPosition) {
    Fill({true});
    label.m_elements[0]->nPosX = INT32_MAX - 3;
    label.CopySelection(CopyMark::Keep);
    label.PasteBuffers();
    EXPECT_EQ(label.m_elements[1]->nPosX, INT32_MAX);
}

}  // namespace
}  // namespace etiqo
