// The .lab file: both layouts read back byte for byte, the header written, and saves that keep
// what stood under the name whole.
#include "model/LabelFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Builds a label file byte by byte, the way another program (or an older one) would write it.
struct FileBuilder {
    std::vector<std::byte> bytes;

    FileBuilder& Raw(std::string_view text, std::size_t width) {
        std::vector<std::byte> block(width);
        std::memcpy(block.data(), text.data(), std::min(text.size(), width));
        bytes.insert(bytes.end(), block.begin(), block.end());
        return *this;
    }
    FileBuilder& Size(std::string_view text) { return Raw(text, 20); }
    FileBuilder& Printer(std::string_view gb18030) { return Raw(gb18030, 64); }
    FileBuilder& Record(const Element& e) {
        const ElementBytes b = BytesOf(e);
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    FileBuilder& Truncate(std::size_t drop) {
        bytes.resize(bytes.size() - drop);
        return *this;
    }
};

Element Sample(ElementKind kind, int x) {
    Element e = MakeBarcodeElement(x, 2 * x, "4006381333931");
    e.nKind = kind;
    e.hImage = 0xCAFE;  // a cache handle must never come back from a file
    e.padding[1] = 7;   // bytes no field names are kept as they stand
    e.ptGrip[3] = {11, 12};
    return e;
}

void ExpectSameRecord(const Element& read, Element written) {
    written.hImage = 0;
    EXPECT_EQ(std::memcmp(&read, &written, kElementSize), 0);
}

TEST(LabelFile, LayoutIsDecidedByLengthAndRecordsReadByteForByte) {
    const auto text = [](int x) { return Sample(ElementKind::Text, x); };
    const struct {
        const char* name;
        FileBuilder file;
        LabelLayout layout;
        std::string printer;
        std::size_t records;  // Sample(kind of record 1, 1), then Text at x = 2
    } cases[] = {
        {"current layout",
         FileBuilder{}
             .Size("60 40")
             .Printer("Zebra ZD421")
             .Record(Sample(ElementKind::Barcode, 1))
             .Record(text(2)),
         LabelLayout::Current, "Zebra ZD421", 2},
        {"empty printer name", FileBuilder{}.Size("60 40").Printer("").Record(text(1)), LabelLayout::Current,
         "", 1},
        {"non-ASCII printer name",
         FileBuilder{}
             .Size("60 40")
             .Printer(Gb18030FromUtf8("标签打印机"))
             .Record(Sample(ElementKind::Line, 1)),
         LabelLayout::Current, "标签打印机", 1},
        {"older layout", FileBuilder{}.Size("60 40").Record(Sample(ElementKind::Shape, 1)).Record(text(2)),
         LabelLayout::Older, "", 2},
        {"older layout, no records", FileBuilder{}.Size("60 40"), LabelLayout::Older, "", 0},
        {"current layout, no records", FileBuilder{}.Size("60 40").Printer("P"), LabelLayout::Current, "P",
         0},
        {"truncated, printable first byte",
         FileBuilder{}.Size("60 40").Printer("A").Record(text(1)).Record(text(2)).Truncate(100),
         LabelLayout::Current, "A", 1},
        {"truncated, NUL first byte", FileBuilder{}.Size("60 40").Record(text(1)).Truncate(8),
         LabelLayout::Older, "", 0},
        {"truncated older file", FileBuilder{}.Size("60 40").Record(text(1)).Record(text(2)).Truncate(3),
         LabelLayout::Older, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = ParseLabelFile(c.file.bytes, "x.lab");
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.contents->widthMM, 60);
        EXPECT_EQ(read.contents->heightMM, 40);
        EXPECT_EQ(read.contents->layout, c.layout);
        EXPECT_EQ(read.contents->printerName, c.printer);
        ASSERT_EQ(read.contents->elements.size(), c.records);
        for (std::size_t i = 1; i < c.records; ++i) {
            ExpectSameRecord(*read.contents->elements[i], text(static_cast<int>(i) + 1));
        }
        if (c.records > 0) {
            ExpectSameRecord(*read.contents->elements[0], Sample(read.contents->elements[0]->nKind, 1));
        }
    }
}

TEST(LabelFile, BadSizeBlocksAreRefusedWithTheFileNamed) {
    const char* sizes[] = {"",     "60",     "60x40",   "abc 40",  "0 40",
                           "60 0", "-60 40", "1001 40", "60 1001", "99999999999 4"};
    for (const char* size : sizes) {
        SCOPED_TRACE(size);
        FileBuilder file;
        file.Size(size).Printer("P").Record(Sample(ElementKind::Text, 1));
        const auto read = ParseLabelFile(file.bytes, "bad.lab");
        EXPECT_FALSE(read);
        EXPECT_EQ(read.error.rfind("bad.lab: ", 0), 0u) << read.error;
        EXPECT_EQ(read.error.find('\n'), std::string::npos);
    }
    const char* good[] = {"1 1", "1000 1000", " 60\t40", "+60 40", "60 40 junk"};
    for (const char* size : good) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(ParseLabelFile(FileBuilder{}.Size(size).bytes, "good.lab"));
    }
    EXPECT_FALSE(ParseLabelFile(FileBuilder{}.Raw("60 40", 19).bytes, "short.lab"));
}

// Written: the size, the printer name cut at a character within its 64 bytes, every record but
// the cut ones; opened again, all of it comes back but the image cache handles.
TEST(LabelFile, SavedLabelOpensAgainAsItWas) {
    TempDir dir;
    Label label(SnapshotStore(dir / "undo"));
    EXPECT_TRUE(SaveLabelFile(label, dir / "r.lab"));
    EXPECT_FALSE(SaveLabelFile(label, dir / "r.lab").written) << "an empty label writes nothing";
    EXPECT_FALSE(std::filesystem::exists(dir / "r.lab"));

    label.SetLabelSize(60, 40);
    const std::string printer = "A" + std::string(40, 'x') + "汉汉汉汉汉汉汉汉汉汉汉";
    label.m_strPrinterName = printer + "汉";  // 2 bytes each: the 64th byte would split the last
    for (int i = 0; i < 6; ++i) {
        Element e = Sample(static_cast<ElementKind>(i), i * 10);
        SetContent(e, "内容 " + std::to_string(i), Overflow::Refuse);
        label.Append(e).hImage = 1234;
    }
    label.m_elements[2]->bCut = 1;
    const auto status = SaveLabelFile(label, dir / "r.lab");
    ASSERT_TRUE(status) << status.error;
    EXPECT_TRUE(status.written);
    const auto bytes = ReadBytes(dir / "r.lab");
    ASSERT_EQ(bytes.size(), 84u + 5 * 508u);
    EXPECT_EQ(std::memcmp(bytes.data(), "60 40\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file";

    Label reopened(SnapshotStore(dir / "undo"));
    ASSERT_TRUE(OpenLabelFile(reopened, dir / "r.lab"));
    EXPECT_EQ(reopened.m_strPrinterName, printer);
    EXPECT_EQ(reopened.m_nLabelWidthMM, 60);
    EXPECT_EQ(reopened.m_nLabelHeightMM, 40);
    EXPECT_EQ(reopened.m_strFileName, (dir / "r.lab").string());
    ASSERT_EQ(reopened.m_elements.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        ExpectSameRecord(*reopened.m_elements[i], *label.m_elements[i < 2 ? i : i + 1]);
    }
}

// What the saved-over file is stays as it was: its mode, its owner, the link to it (its other names:
// HostileSave); a read-only file is refused and left alone; names up to the longest allowed save.
TEST(LabelFile, SaveKeepsTheFileAndRefusesReadOnlyOnes) {
    const struct {
        const char* name;
        std::string file;
        mode_t mode;
        bool foreign, symlink, saved;
    } cases[] = {
        {"mode kept", "mode.lab", 0640, false, false, true},
        {"read-only refused", "ro.lab", 0444, false, false, false},
        {"owner kept", "theirs.lab", 0666, true, false, true},
        {"symlink kept, its target replaced", "link.lab", 0644, false, true, true},
        {"name of 255 bytes", std::string(251, 'n') + ".lab", 0644, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.foreign && ::geteuid() != 0) {
            continue;  // only root can give a file away
        }
        TempDir dir;
        Label label(SnapshotStore(dir / "undo"));
        label.Append(Sample(ElementKind::Text, 1));
        const auto file = dir / c.file;
        const auto target = c.symlink ? dir / "real.lab" : file;
        WriteBytes(target, std::vector<std::byte>(7, std::byte{'x'}));
        ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        if (c.foreign) {
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        if (c.symlink) {
            std::filesystem::create_symlink("real.lab", file);
        }
        struct stat before {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);

        const auto status = SaveLabelFile(label, file);
        EXPECT_EQ(static_cast<bool>(status), c.saved) << status.error;
        EXPECT_EQ(std::filesystem::file_size(file), c.saved ? 84u + 508u : 7u);
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        if (c.foreign) {
            EXPECT_EQ(after.st_ino, before.st_ino);  // written in place
        }
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        EXPECT_EQ(std::filesystem::is_symlink(file), c.symlink);
        if (!c.saved) {
            EXPECT_NE(status.error.find("read-only"), std::string::npos) << status.error;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), c.symlink ? 2 : 1);
    }
}

TEST(LabelFile, FailedSaveOrOpenLeavesWhatWasThere) {
    TempDir dir;
    Label label(SnapshotStore(dir / "undo"));
    label.SetLabelSize(30, 20);
    label.m_strFileName = "before.lab";
    label.m_strPrinterName = "P";
    label.Append(Sample(ElementKind::Text, 1));
    ASSERT_TRUE(SaveLabelFile(label, dir / "keep.lab"));
    const auto before = ReadBytes(dir / "keep.lab");

    // Saving into a "folder" that is a file fails at the temporary file; over a folder at the rename.
    const auto status = SaveLabelFile(label, dir / "keep.lab" / "inner.lab");
    EXPECT_FALSE(status);
    EXPECT_NE(status.error.find("inner.lab"), std::string::npos) << status.error;
    std::filesystem::create_directories(dir / "folder.lab" / "x");
    EXPECT_FALSE(SaveLabelFile(label, dir / "folder.lab"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.lab" / "x"));
    EXPECT_EQ(ReadBytes(dir / "keep.lab"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // keep, folder

    WriteBytes(dir / "bad.lab", FileBuilder{}.Size("0 0").Printer("Q").bytes);
    const auto open = OpenLabelFile(label, dir / "bad.lab");
    EXPECT_FALSE(open);
    EXPECT_NE(open.error.find("bad.lab"), std::string::npos);
    EXPECT_FALSE(OpenLabelFile(label, dir / "missing.lab"));
    EXPECT_EQ(label.m_nLabelWidthMM, 30);
    EXPECT_EQ(label.m_strFileName, "before.lab");
    EXPECT_EQ(label.m_strPrinterName, "P");
    EXPECT_EQ(label.m_elements.size(), 1u);
    const auto base = label.Snapshots().Read(0);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->size(), 1u);
}

}  // namespace
}  // namespace etiqo
