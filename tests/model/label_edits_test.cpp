// What the user does to a label's list, and undo and redo over it: edits written as a script, one
// row per case, with the list and the undo counters they must leave.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>

#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

using testing::TempDir;

struct Counters {
    int max, pos, count;
    friend bool operator==(const Counters&, const Counters&) = default;
};

Counters Of(const Label& label) {
    return {label.m_nUndoMax, label.m_nUndoPos, label.m_nUndoCount};
}

std::vector<int> Positions(const Label& label) {
    std::vector<int> xs;
    for (const ElementPtr& e : label.m_elements) {
        xs.push_back(e->nPosX);
    }
    return xs;
}

// a / A: append an element at the next x (1, 2, …), unselected / selected; s: snapshot; u, r: undo,
// redo; 1-9: select only the element at that x, -: none, *: all; c, C: copy with flag 0 / 1;
// x: cut; p: paste; d: delete the selection; m: remove snapshot file 1; w: save as a.lab; o: open
// a.lab in a new label.
void Edit(Label& label, std::string_view script) {
    int x = 0;
    const std::map<char, std::function<void()>> ops = {
        {'!', [] {}},
        {'a', [&] { label.Append(MakeBarcodeElement(++x, 100, "1")).bSelected = 0; }},
        {'A', [&] { label.Append(MakeBarcodeElement(++x, 100, "1")).bSelected = 1; }},
        {'s', [&] { label.SaveSnapshot(); }},
        {'u', [&] { label.StepUndo(-1); }},
        {'r', [&] { label.StepUndo(+1); }},
        {'c', [&] { label.CopySelection(CopyMark::Keep); }},
        {'C', [&] { label.CopySelection(CopyMark::LeftOut); }},
        {'x', [&] { label.CutSelection(); }},
        {'p', [&] { label.PasteBuffers(); }},
        {'d', [&] { label.DeleteSelection(); }},
        {'m', [&] { std::filesystem::remove(label.Snapshots().FileFor(1)); }},
        {'w', [&] { SaveLabelFile(label, label.Snapshots().Folder() / "a.lab"); }},
        {'o',
         [&] {
             label = Label{label.Snapshots()};
             OpenLabelFile(label, label.Snapshots().Folder() / "a.lab");
         }},
    };
    for (const char op : script) {
        if (const auto it = ops.find(op); it != ops.end()) {
            it->second();
            continue;
        }
        for (const ElementPtr& e : label.m_elements) {
            e->bSelected = op == '*' || e->nPosX == op - '0';
        }
        EXPECT_EQ(label.HasSelection(), op != '-');
    }
}

TEST(LabelEdits, ScriptTable) {
    // "!": a file stands where a folder must be: the edits are still counted.
    // clang-format off
    const struct { const char* name; const char* script; std::vector<int> xs; Counters counters; } rows[] = {
        {"snapshot", "as", {1}, {1, 1, 1}},
        {"new label undoes to empty", "asu", {}, {1, 0, 0}},
        {"undo beyond the start", "asuu", {}, {1, 0, 0}},
        {"redo", "asur", {1}, {1, 1, 1}},
        {"redo beyond the end", "asurr", {1}, {1, 1, 1}},
        {"emptying the label takes no snapshot", "asas*d", {}, {2, 2, 2}},
        {"undo after emptying", "asas*du", {1}, {2, 1, 1}},
        {"two undos", "asasasuu", {1}, {3, 1, 1}},
        {"a new snapshot cuts off redo", "asasasuuasr", {1, 4}, {2, 2, 2}},
        {"missing snapshot file leaves the list empty", "asasmu", {}, {2, 1, 1}},
        {"copy pastes 10 dots on", "aAcp", {1, 2, 12}, {0, 0, 0}},
        {"a copy pastes once", "aAcpp", {1, 2, 12}, {0, 0, 0}},
        {"copy twice buffers both sets", "Aac2Cp", {1, 2, 11, 12}, {0, 0, 0}},
        {"cut pastes back on top at the old place", "AaAxp", {2, 1, 3}, {1, 1, 1}},
        {"copy after cut drops the cut elements", "Aax2cp", {2, 12}, {1, 1, 1}},
        {"copy of nothing still empties the cut buffer", "Aac1x-dcp", {2, 11}, {1, 1, 1}},
        {"a save keeps the counters", "asasw", {1, 2}, {2, 2, 2}},
        {"an opened label undoes to it as opened", "asaswoasu", {1, 2}, {1, 0, 0}},
        {"unwritable folder counts the edits", "!ass", {1}, {0, 0, 2}},
        {"and redo drops back to the highest snapshot", "!assr", {1}, {0, 0, 0}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const bool blocked = row.script[0] == '!';
        std::ofstream(dir / "file");
        Label label{SnapshotStore(blocked ? dir / "file" / "snapshots" : dir / "snapshots")};
        Edit(label, row.script);
        EXPECT_EQ(Positions(label), row.xs);
        EXPECT_EQ(Of(label), row.counters);
        EXPECT_EQ(label.HasUnsavedChanges(), blocked || row.counters.max > 0);
        EXPECT_EQ(label.TakeSnapshotFailure(), blocked);
        EXPECT_FALSE(label.TakeSnapshotFailure());  // the user is told once
    }
}

TEST(LabelEdits, WhatCopiesAndSnapshotsCarry) {
    TempDir dir;
    Label label{SnapshotStore(dir / "snapshots")};
    Edit(label, "AaA");
    label.m_elements[0]->hImage = 5;
    label.m_elements[2]->nPosX = INT32_MAX - 3;
    label.CopySelection(CopyMark::LeftOut);
    EXPECT_EQ(label.m_elements[0]->bCut, 1) << "the flag lands on the elements copied";
    EXPECT_EQ(label.m_elements[1]->bCut, 0);
    EXPECT_EQ(label.m_copyBuffer[0]->hImage, 0u) << "a copy has no image cache";
    EXPECT_TRUE(label.PasteBuffers());
    EXPECT_FALSE(label.PasteBuffers());
    ASSERT_EQ(label.m_elements.size(), 5u);
    EXPECT_EQ(label.m_elements[3]->nPosY, 110);
    EXPECT_EQ(label.m_elements[3]->bSelected, 1) << "selected along with its original";
    EXPECT_EQ(label.m_elements[4]->nPosX, INT32_MAX) << "pasting never overflows a position";

    label.CutSelection();  // the snapshot is taken before the change: it holds all five
    EXPECT_EQ(label.Snapshots().Read(1)->size(), 5u);
    EXPECT_EQ(std::filesystem::file_size(label.Snapshots().FileFor(1)), 5 * kElementSize);
    EXPECT_EQ(label.Snapshots().FileFor(1).filename(), "1.undo");
    label.SaveSnapshot();
    label.StepUndo(-1);
    EXPECT_EQ(label.m_elements[0]->hImage, 0u) << "restored records have no image cache";
}

// Two designers of one user: each has its numbers in a folder of its own, and the folders of
// processes that ended are removed at the next start.
TEST(SnapshotStore, EachProcessHasItsOwnSnapshots) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);

    TempDir dir;
    const auto privateFolder = dir / "private";
    std::vector<std::unique_ptr<Element>> mine, theirs;
    mine.push_back(std::make_unique<Element>(MakeBarcodeElement(1, 0, "123")));
    theirs.push_back(std::make_unique<Element>(MakeBarcodeElement(2, 0, "123")));
    const SnapshotStore a(privateFolder);
    const SnapshotStore b(privateFolder, 1);  // a process that runs
    const SnapshotStore gone(privateFolder, ended);
    ASSERT_TRUE(a.Write(1, mine));
    ASSERT_TRUE(b.Write(1, theirs));
    ASSERT_TRUE(gone.Write(1, theirs));
    EXPECT_EQ((*a.Read(1))[0]->nPosX, 1);
    EXPECT_EQ((*b.Read(1))[0]->nPosX, 2);

    EXPECT_EQ(SnapshotStore::RemoveLeftovers(privateFolder), 1);
    EXPECT_FALSE(std::filesystem::exists(gone.Folder()));
    EXPECT_TRUE(a.Read(1) && b.Read(1));

    std::filesystem::create_directory(dir / "loose");
    std::filesystem::permissions(dir / "loose", std::filesystem::perms::all);
    EXPECT_TRUE(SnapshotStore(dir / "loose").Write(1, mine));
    EXPECT_EQ(std::filesystem::status(dir / "loose").permissions(), std::filesystem::perms::owner_all)
        << "a loose folder is tightened";

    // The private folder is the runtime folder where it is ours, else one in the temp folder.
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    TempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    EXPECT_EQ(SnapshotStore::PrivateFolderForCurrentUser(), runtime / "etiqo");
    ::chmod(runtime.Path().c_str(), 0777);  // not private: the temp folder's own folder is used
    const auto fallback = SnapshotStore::PrivateFolderForCurrentUser();
    EXPECT_EQ(fallback.filename(), "etiqo-" + std::to_string(::geteuid()));
    EXPECT_EQ(fallback.parent_path(), std::filesystem::temp_directory_path());
    EXPECT_EQ(SnapshotStore::ForCurrentUser().Folder(), fallback / std::to_string(::getpid()));
    saved ? ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace etiqo
