// Files a label names or lives in that are not what they seem: pictures and label files that are
// FIFOs, devices, folders, bombs or far too large; snapshot folders that someone else planted; and
// saves that hit a full disk part way through.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <QImageWriter>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>

#include "HostileLabel.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/PosixFile.h"
#include "render/PictureFile.h"

namespace etiqo {
namespace {

namespace fs = std::filesystem;
using testing::FileText;
using testing::TempDir;

// Refused without blocking, naming the file: what is not a regular file, a file over the limit, a
// picture header claiming 60000 × 60000 pixels; a picture of exactly 8000 × 8000 (full colour) is
// read, and a label naming the refused ones prints with a warning naming each.
TEST(HostileFiles, PicturesAndLabelFilesThatAreNoneOrTooLargeAreRefusedNamingThem) {
    TempDir folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0600), 0);
    fs::create_directory(folder / "folder.png");
    { std::ofstream(folder / "huge.png").put('x'); }
    fs::resize_file(folder / "huge.png", kMaxPictureFileBytes + 1);  // sparse: no disk used
    QFile bomb(QString::fromStdString((folder / "bomb.bmp").string()));
    ASSERT_TRUE(bomb.open(QIODevice::WriteOnly));
    QDataStream header(&bomb);  // a BMP header of 32-bit pixels with no pixel data behind it
    header.setByteOrder(QDataStream::LittleEndian);
    header << quint16(0x4D42) << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(60000)
           << qint32(60000) << quint16(1) << quint16(32) << quint64(0) << quint64(0) << quint64(0);
    bomb.close();
    QImage square(8000, 8000, QImage::Format_RGB32);
    square.fill(Qt::white);
    QImageWriter writer(QString::fromStdString((folder / "square.png").string()));
    writer.setCompression(15);  // zlib level 1: fast, and still a small file
    ASSERT_TRUE(writer.write(square));
    const struct {
        fs::path path;
        const char* problem;  // as a picture; nullptr: read
        const char* asLabel;  // as a label file; nullptr: not tried
    } rows[] = {
        {"/dev/zero", "not a regular file", "not a regular file"},
        {folder / "pipe.png", "not a regular file", "not a regular file"},
        {folder / "folder.png", "not a regular file", "not a regular file"},
        {folder / "huge.png", "larger than 8000 × 8000 pixels or 64 MB", "too large"},
        {folder / "bomb.bmp", "cannot read the picture", nullptr},
        {folder / "square.png", nullptr, nullptr},
    };
    std::vector<Element> refused;
    for (const auto& row : rows) {
        if (row.problem) {
            refused.push_back(*MakePictureElement(10, 10, row.path.string(), 100, 50));
            refused.back().bSelected = 0;
            refused.back().nSize = kNoGrip;
        }
    }
    const test::OutputResult printed = test::OpenDrawAndPrint(folder.Path(), refused);
    ASSERT_EQ(printed.openError, "");
    EXPECT_TRUE(printed.pdfWritten);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.string());
        EXPECT_EQ(
            std::ranges::any_of(printed.warnings,
                                [&](const std::string& w) { return w.find(row.path.string()) != w.npos; }),
            row.problem != nullptr);
        const PictureRead read = ReadPictureFile(QString::fromStdString(row.path.string()));
        EXPECT_EQ(read.image.size(), row.problem ? QSize(0, 0) : QSize(8000, 8000));
        EXPECT_EQ(read.problem.contains(QString::fromStdString(row.path.string())), row.problem != nullptr);
        EXPECT_TRUE(read.problem.contains(QString::fromUtf8(row.problem ? row.problem : "")));
        if (row.asLabel) {
            const LabelReadResult label = ReadLabelFile(row.path);
            EXPECT_FALSE(label);
            EXPECT_NE(label.error.find(row.path.string()), std::string::npos) << label.error;
            EXPECT_NE(label.error.find(row.asLabel), std::string::npos) << label.error;
        }
    }
}

std::vector<std::unique_ptr<Element>> OneText(const char* text) {
    std::vector<std::unique_ptr<Element>> elements;
    elements.push_back(std::make_unique<Element>(MakeTextElement(1, 2, text)));
    return elements;
}

// The folder is the user's own and private; a symlink in its place or a folder of another user is
// refused. Whatever stands under a snapshot's name or its temporary name (the folder may have been
// loosened for a while) is never written through, never read and never blocks; it is removed.
TEST(HostileSnapshots, PlantedFoldersAndEntriesAreNeitherWrittenThroughNorRead) {
    TempDir folder;
    struct stat st {};
    ASSERT_TRUE(SnapshotStore(folder / "own").Write(1, OneText("one")));
    ASSERT_EQ(::lstat(SnapshotStore(folder / "own").Folder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    fs::create_directory(folder / "elsewhere");
    fs::create_directory_symlink(folder / "elsewhere", folder / "linked");
    fs::create_directory(folder / "foreign");
    std::vector<const char*> planted{"linked"};
    if (::geteuid() == 0) {  // only root can give a folder to another user
        ASSERT_EQ(::chown((folder / "foreign").c_str(), 65534, 65534), 0);
        planted.push_back("foreign");
    }
    for (const char* name : planted) {
        EXPECT_FALSE(SnapshotStore(folder / name).Write(1, OneText("one")));
        EXPECT_FALSE(SnapshotStore(folder / name).Read(1));
    }
    EXPECT_TRUE(fs::is_empty(folder / "elsewhere"));

    const std::pair<const char*, std::function<void(const fs::path&, const fs::path&)>> plants[] = {
        {"hard link", [](const fs::path& to, const fs::path& at) { fs::create_hard_link(to, at); }},
        {"FIFO", [](const fs::path&, const fs::path& at) { ::mkfifo(at.c_str(), 0600); }},
        {"symlink", [](const fs::path& to, const fs::path& at) { fs::create_symlink(to, at); }},
    };
    for (const auto& [what, plant] : plants) {
        SCOPED_TRACE(what);
        const SnapshotStore store(folder / what);
        ASSERT_TRUE(store.Write(1, OneText("one")));
        { std::ofstream(folder / "precious") << "keep me"; }
        for (const char* name : {"2.undo.tmp", "2.undo", "7.undo"}) {
            plant(folder / "precious", store.Folder() / name);
            ASSERT_TRUE(fs::exists(fs::symlink_status(store.Folder() / name)));
        }
        EXPECT_TRUE(store.Write(2, OneText("two")));
        EXPECT_EQ(FileText(folder / "precious"), "keep me");
        ASSERT_TRUE(store.Read(2));
        EXPECT_STREQ((*store.Read(2))[0]->str, "two");
        EXPECT_FALSE(store.Read(7));
        EXPECT_FALSE(fs::exists(fs::symlink_status(store.FileFor(7))));
    }
}

// The write behind every save, failing once `allowance` bytes are written: a disk that fills.
long g_allowance = 0;
long FillingDisk(int fd, const void* data, std::size_t size) {
    if (g_allowance <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const long n = ::write(fd, data, std::min<std::size_t>(size, static_cast<std::size_t>(g_allowance)));
    g_allowance -= n;
    return n;
}

struct FaultyDisk {
    explicit FaultyDisk(long allowance) {
        g_allowance = allowance;
        SetWriteFunctionForTesting(FillingDisk);
    }
    ~FaultyDisk() { SetWriteFunctionForTesting(nullptr); }
};

// The old label and the old snapshot stay whole and no temporary file is left. A file of one name
// is replaced by a rename; one of two names is written in place.
TEST(HostileSave, FullDiskLeavesTheOldLabelAndSnapshotWholeAndNoTempFile) {
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "two names" : "one name");
        TempDir folder;
        const fs::path file = folder / "shop.lab";
        Label label(SnapshotStore(folder / "snapshots"));
        label.SetLabelSize(50, 30);
        label.Append(MakeTextElement(1, 2, "first version"));
        ASSERT_TRUE(SaveLabelFile(label, file));
        const std::string before = FileText(file);
        if (linked) {
            fs::create_hard_link(file, folder / "other.lab");
        }

        for (int i = 0; i < 40; ++i) {
            label.Append(MakeBarcodeElement(i, i, "second version"));
        }
        for (const long allowance : {0L, 1L, 84L, 600L, 1000L, 10000L}) {
            SCOPED_TRACE(allowance);
            LabelFileStatus status;
            {
                const FaultyDisk disk(allowance);
                status = SaveLabelFile(label, file);
            }
            EXPECT_FALSE(status);
            EXPECT_NE(status.error.find(file.string()), std::string::npos) << status.error;
            EXPECT_NE(status.error.find(std::strerror(ENOSPC)), std::string::npos) << status.error;
            EXPECT_EQ(FileText(file), before);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), linked ? 2 : 1)
                << "no temp file";
        }
        ASSERT_TRUE(SaveLabelFile(label, file));  // the disk has room again
        EXPECT_EQ(ReadLabelFile(file).contents->elements.size(), 41u);
        EXPECT_EQ(fs::hard_link_count(file), linked ? 2u : 1u);
    }

    TempDir folder;
    const SnapshotStore store(folder / "snapshots");
    ASSERT_TRUE(store.Write(1, OneText("kept")));
    {
        const FaultyDisk disk(100);
        EXPECT_FALSE(store.Write(1, OneText("lost")));
    }
    const auto read = store.Read(1);
    ASSERT_TRUE(read && read->size() == 1);
    EXPECT_STREQ((*read)[0]->str, "kept");
    EXPECT_FALSE(fs::exists(store.Folder() / "1.undo.tmp"));
}

// Inputs the fuzzers found too slow or worse, kept as they were found (tests/hostile/findings).
TEST(HostileFindings, OpenDrawAndPrint) {
    for (const auto& entry : fs::directory_iterator(fs::path(ETIQO_SOURCE_DIR) / "tests/hostile/findings")) {
        SCOPED_TRACE(entry.path().string());
        TempDir folder;
        const test::OutputResult result = test::OpenFileDrawAndPrint(entry.path(), folder.Path());
        ASSERT_EQ(result.openError, "");
        EXPECT_TRUE(result.pdfWritten);
    }
}

}  // namespace
}  // namespace etiqo
