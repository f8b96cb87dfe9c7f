#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

class Undo : public ::testing::Test {
protected:
    TempDir dir;
    Label label{SnapshotStore(dir / "snapshots")};

    void Add(int x) {
        label.Append(MakeBarcodeElement(x, 0, "123"));
        label.SaveSnapshot();
    }
};

TEST_F(Undo, NewLabelUndoesToEmptyAndRedoesBack) {
    Add(1);
    EXPECT_EQ(Of(label), (Counters{1, 1, 1}));
    label.StepUndo(-1);
    EXPECT_TRUE(label.m_elements.empty());
    EXPECT_EQ(Of(label), (Counters{1, 0, 0}));
    label.StepUndo(-1);  // beyond the start: nothing
    EXPECT_EQ(Of(label), (Counters{1, 0, 0}));
    label.StepUndo(+1);
    EXPECT_EQ(Positions(label), std::vector<int>{1});
    EXPECT_EQ(Of(label), (Counters{1, 1, 1}));
    label.StepUndo(+1);  // beyond the end: the list stays
    EXPECT_EQ(Positions(label), std::vector<int>{1});
    EXPECT_EQ(Of(label), (Counters{1, 1, 1}));
}

TEST_F(Undo, SnapshotFilesHoldRawRecordsOnly) {
    Add(1);
    Add(2);
    EXPECT_EQ(std::filesystem::file_size(label.Snapshots().FileFor(2)), 2 * kElementSize);
    EXPECT_EQ(label.Snapshots().FileFor(2).filename(), "2.undo");
    struct stat st {};
    ASSERT_EQ(::stat(label.Snapshots().Folder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(Undo, OpenedLabelUndoesToTheLabelAsOpened) {
    Add(1);
    Add(2);
    ASSERT_TRUE(SaveLabelFile(label, dir / "a.lab"));
    EXPECT_EQ(label.m_nUndoCount, 2);  // saving keeps the label "changed"

    Label opened{SnapshotStore(dir / "snapshots")};
    ASSERT_TRUE(OpenLabelFile(opened, dir / "a.lab"));
    opened.Append(MakeTextElement(3, 0, "x"));
    opened.SaveSnapshot();
    EXPECT_EQ(Of(opened), (Counters{1, 1, 1}));
    opened.StepUndo(-1);
    EXPECT_EQ(Positions(opened), (std::vector<int>{1, 2}));
    EXPECT_EQ(Of(opened), (Counters{1, 0, 0}));
}

TEST_F(Undo, RestoredRecordsHaveNoImageCache) {
    label.Append(MakeBarcodeElement(1, 0, "123")).hImage = 77;
    label.SaveSnapshot();
    label.Append(MakeBarcodeElement(2, 0, "123")).hImage = 78;
    label.SaveSnapshot();
    label.StepUndo(-1);
    ASSERT_EQ(label.m_elements.size(), 1u);
    EXPECT_EQ(label.m_elements[0]->hImage, 0u);
}

TEST_F(Undo, EmptyingTheLabelTakesNoSnapshot) {
    Add(1);
    Add(2);
    for (const ElementPtr& e : label.m_elements) {
        e->bSelected = 1;
    }
    EXPECT_TRUE(label.DeleteSelection());
    EXPECT_TRUE(label.m_elements.empty());
    EXPECT_EQ(Of(label), (Counters{2, 2, 2}));
    label.StepUndo(-1);
    EXPECT_EQ(Positions(label), std::vector<int>{1});
}

TEST_F(Undo, NewSnapshotAfterUndoCutsOffRedo) {
    Add(1);
    Add(2);
    Add(3);
    label.StepUndo(-1);
    label.StepUndo(-1);
    EXPECT_EQ(Of(label), (Counters{3, 1, 1}));
    Add(9);
    EXPECT_EQ(Of(label), (Counters{2, 2, 2}));
    label.StepUndo(+1);
    EXPECT_EQ(Positions(label), (std::vector<int>{1, 9}));
    EXPECT_EQ(Of(label), (Counters{2, 2, 2}));
}

TEST_F(Undo, UnwritableFolderCountsChangesButKeepsPositions) {
    TempDir other;
    testing::WriteBytes(other / "file", {});
    Label blocked{SnapshotStore(other / "file" / "snapshots")};  // a file stands where a folder must be
    blocked.Append(MakeTextElement(1, 0, "a"));
    blocked.SaveSnapshot();
    blocked.SaveSnapshot();
    EXPECT_EQ(Of(blocked), (Counters{0, 0, 2}));
    blocked.StepUndo(+1);  // the count is above the highest snapshot: it drops back to it
    EXPECT_EQ(Of(blocked), (Counters{0, 0, 0}));
    EXPECT_EQ(blocked.m_elements.size(), 1u);
    EXPECT_TRUE(blocked.HasUnsavedChanges());  // the counters say nothing, the edits are there
    EXPECT_TRUE(blocked.TakeSnapshotFailure());
    EXPECT_FALSE(blocked.TakeSnapshotFailure());  // the user is told once
    EXPECT_FALSE(label.TakeSnapshotFailure());
}

TEST_F(Undo, MissingSnapshotFileLeavesTheLabelEmpty) {
    Add(1);
    Add(2);
    std::filesystem::remove(label.Snapshots().FileFor(1));
    label.StepUndo(-1);
    EXPECT_TRUE(label.m_elements.empty());
    EXPECT_EQ(Of(label), (Counters{2, 1, 1}));
}

TEST_F(Undo, SymlinkedFolderIsRefused) {
    std::filesystem::create_directory(dir / "real");
    std::filesystem::create_directory_symlink(dir / "real", dir / "link");
    Label linked{SnapshotStore(dir / "link")};
    linked.Append(MakeTextElement(1, 0, "a"));
    linked.SaveSnapshot();
    EXPECT_EQ(Of(linked), (Counters{0, 0, 1}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "real"));
}

TEST_F(Undo, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder away";
    }
    std::filesystem::create_directory(dir / "theirs");
    ASSERT_EQ(::chown((dir / "theirs").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(SnapshotStore(dir / "theirs").Write(1, label.m_elements));
}

// Two designers of one user: each has its numbers in a folder of its own, and the folders of
// processes that ended are removed at the next start.
TEST_F(Undo, EachProcessHasItsOwnSnapshots) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);

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
}

TEST_F(Undo, LooseFolderModeIsTightened) {
    std::filesystem::create_directory(dir / "loose");
    std::filesystem::permissions(dir / "loose", std::filesystem::perms::all);
    Label loose{SnapshotStore(dir / "loose")};
    loose.Append(MakeTextElement(1, 0, "a"));
    loose.SaveSnapshot();
    EXPECT_EQ(loose.m_nUndoPos, 1);
    EXPECT_EQ(std::filesystem::status(dir / "loose").permissions(), std::filesystem::perms::owner_all);
}

TEST(SnapshotStore, PrivateFolderIsTheRuntimeFolderWhereItIsOurs) {
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
