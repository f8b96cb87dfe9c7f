// Files a label names or lives in that are not what they seem: pictures that are FIFOs, devices,
// folders or bombs; label files that are not regular or far too large; snapshot folders that
// someone else planted; and saves that hit a full disk part way through.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "HostileLabel.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/LabelFile.h"
#include "model/PosixFile.h"
#include "model/RecordIo.h"
#include "model/SnapshotStore.h"
#include "render/PictureFile.h"

namespace etiqo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool AnyContains(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

Element PictureOf(const fs::path& path) {
    Element e = *MakePictureElement(10, 10, path.string(), 100, 50);
    e.bSelected = 0;
    e.nSize = kNoGrip;
    return e;
}

// A BMP header claiming width × height pixels of 32 bits, with no pixel data behind it.
void WriteBmpHeader(const fs::path& file, std::int32_t width, std::int32_t height) {
    unsigned char header[54] = {'B', 'M'};
    const auto put32 = [&header](int at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = static_cast<unsigned char>(value >> (8 * i));
        }
    };
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    header[26] = 1;
    header[28] = 32;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof header);
}

// Refused without blocking, naming the file: what is not a regular file, a file over 64 MB, a
// header claiming 60000 × 60000 pixels; a picture of exactly 8000 × 8000 (full colour) is read.
TEST(HostilePicture, RefusesWhatIsNoPictureOrTooLargeNamingIt) {
    TempDir folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0600), 0);
    fs::create_directory(folder / "folder.png");
    { std::ofstream(folder / "huge.png").put('x'); }
    fs::resize_file(folder / "huge.png", kMaxPictureFileBytes + 1);  // sparse: no disk used
    WriteBmpHeader(folder / "bomb.bmp", 60000, 60000);
    QImage square(8000, 8000, QImage::Format_RGB32);
    square.fill(Qt::white);
    QImageWriter writer(QString::fromStdString((folder / "square.png").string()));
    writer.setCompression(15);  // zlib level 1: fast, and still a small file
    ASSERT_TRUE(writer.write(square));
    const struct {
        fs::path path;
        const char* problem;  // nullptr: read
    } rows[] = {
        {"/dev/zero", "not a regular file"},
        {folder / "pipe.png", "not a regular file"},
        {folder / "folder.png", "not a regular file"},
        {folder / "huge.png", "larger than 8000 × 8000 pixels or 64 MB"},
        {folder / "bomb.bmp", "cannot read the picture"},
        {folder / "square.png", nullptr},
    };
    std::vector<Element> refused;  // a label naming them prints with a warning naming each
    for (const auto& row : rows) {
        if (row.problem) {
            refused.push_back(PictureOf(row.path));
        }
    }
    const test::OutputResult printed = test::OpenDrawAndPrint(folder.Path(), refused);
    ASSERT_EQ(printed.openError, "");
    EXPECT_TRUE(printed.pdfWritten);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.string());
        EXPECT_EQ(AnyContains(printed.warnings, row.path.string()), row.problem != nullptr);
        const PictureRead read = ReadPictureFile(QString::fromStdString(row.path.string()));
        EXPECT_EQ(read.image.size(), row.problem ? QSize(0, 0) : QSize(8000, 8000));
        EXPECT_EQ(read.problem.contains(QString::fromStdString(row.path.string())), row.problem != nullptr);
        EXPECT_TRUE(read.problem.contains(QString::fromUtf8(row.problem ? row.problem : "")));
    }
}

TEST(HostileLabelFile, RefusesDevicesFifosAndHugeFilesNamingThem) {
    TempDir folder;
    const fs::path fifo = folder / "pipe.lab";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path huge = folder / "huge.lab";
    { std::ofstream(huge) << "50 30"; }
    fs::resize_file(huge, kMaxLabelFileBytes + 1);
    const struct {
        fs::path path;
        const char* reason;
    } cases[] = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {folder.Path(), "not a regular file"},
        {huge, "too large"},
    };
    for (const auto& c : cases) {
        const LabelReadResult read = ReadLabelFile(c.path);
        EXPECT_FALSE(read);
        EXPECT_NE(read.error.find(c.path.string()), std::string::npos) << read.error;
        EXPECT_NE(read.error.find(c.reason), std::string::npos) << read.error;
    }
}

std::vector<std::unique_ptr<Element>> OneText(const char* text) {
    std::vector<std::unique_ptr<Element>> elements;
    elements.push_back(std::make_unique<Element>(MakeTextElement(1, 2, text)));
    return elements;
}

TEST(HostileSnapshots, FolderIsPrivateAndPlantedFoldersAreRefused) {
    TempDir folder;
    const SnapshotStore store(folder / "snapshots");
    ASSERT_TRUE(store.Write(1, OneText("one")));
    struct stat st {};
    ASSERT_EQ(::lstat(store.Folder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());

    // A symlink in place of the folder: refused, nothing written through it.
    fs::create_directory(folder / "elsewhere");
    fs::create_directory_symlink(folder / "elsewhere", folder / "linked");
    const SnapshotStore linked(folder / "linked");
    EXPECT_FALSE(linked.Write(1, OneText("one")));
    EXPECT_FALSE(linked.Read(1));
    EXPECT_TRUE(fs::is_empty(folder / "elsewhere"));

    // A folder of another user (only root can make one).
    if (::geteuid() == 0) {
        const fs::path foreign = folder / "foreign";
        fs::create_directory(foreign);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(SnapshotStore(foreign).Write(1, OneText("one")));
        EXPECT_FALSE(SnapshotStore(foreign).Read(1));
    }
}

// Whatever stands under a snapshot's name or its temporary name (the folder may have been loosened
// for a while) is never written through, never read and never blocks; it is removed.
TEST(HostileSnapshots, PlantedEntriesAreNeitherWrittenThroughNorRead) {
    const std::pair<const char*, std::function<void(const fs::path&, const fs::path&)>> plants[] = {
        {"hard link", [](const fs::path& to, const fs::path& at) { fs::create_hard_link(to, at); }},
        {"FIFO", [](const fs::path&, const fs::path& at) { ::mkfifo(at.c_str(), 0600); }},
        {"symlink", [](const fs::path& to, const fs::path& at) { fs::create_symlink(to, at); }},
    };
    for (const auto& [what, plant] : plants) {
        SCOPED_TRACE(what);
        TempDir folder;
        const SnapshotStore store(folder / "snapshots");
        ASSERT_TRUE(store.Write(1, OneText("one")));
        { std::ofstream(folder / "precious") << "keep me"; }
        for (const char* name : {"2.undo.tmp", "2.undo", "7.undo"}) {
            plant(folder / "precious", store.Folder() / name);
            ASSERT_TRUE(fs::exists(fs::symlink_status(store.Folder() / name)));
        }
        EXPECT_TRUE(store.Write(2, OneText("two")));
        EXPECT_EQ(ReadText(folder / "precious"), "keep me");
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

TEST(HostileSave, FullDiskLeavesTheOldLabelWholeAndNoTempFile) {
    // A file of one name is replaced by a rename; one of two names is written in place.
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "two names" : "one name");
        TempDir folder;
        const fs::path file = folder / "shop.lab";
        Label label(SnapshotStore(folder / "snapshots"));
        label.SetLabelSize(50, 30);
        label.Append(MakeTextElement(1, 2, "first version"));
        ASSERT_TRUE(SaveLabelFile(label, file));
        const std::string before = ReadText(file);
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
            EXPECT_EQ(ReadText(file), before);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), linked ? 2 : 1)
                << "no temp file";
        }
        ASSERT_TRUE(SaveLabelFile(label, file));  // the disk has room again
        EXPECT_EQ(ReadLabelFile(file).contents->elements.size(), 41u);
        EXPECT_EQ(fs::hard_link_count(file), linked ? 2u : 1u);
    }
}

TEST(HostileSave, FullDiskLeavesTheOldSnapshotWhole) {
    TempDir folder;
    const SnapshotStore store(folder / "snapshots");
    ASSERT_TRUE(store.Write(1, OneText("kept")));
    {
        const FaultyDisk disk(100);
        EXPECT_FALSE(store.Write(1, OneText("lost")));
    }
    const auto read = store.Read(1);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 1u);
    EXPECT_STREQ((*read)[0]->str, "kept");
    EXPECT_FALSE(fs::exists(store.Folder() / "1.undo.tmp"));
}

// Inputs the fuzzers found too slow or worse, kept as they were found (tests/hostile/findings).
std::vector<fs::path> Findings() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(ETIQO_SOURCE_DIR) / "tests/hostile/findings")) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzFindingTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(FuzzFindingTest, OpensDrawsAndPrints) {
    TempDir folder;
    const test::OutputResult result = test::OpenFileDrawAndPrint(GetParam(), folder.Path());
    ASSERT_EQ(result.openError, "");
    EXPECT_TRUE(result.pdfWritten);
}

INSTANTIATE_TEST_SUITE_P(Findings, FuzzFindingTest, ::testing::ValuesIn(Findings()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.stem().string();
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

}  // namespace
}  // namespace etiqo
