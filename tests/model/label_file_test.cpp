#include "model/LabelFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "SampleLabel.h"
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

Label MakeLabel(const TempDir& dir) {
    return Label(SnapshotStore(dir / "undo"));
}

TEST(LabelFile, CurrentLayoutByteByByte) {
    FileBuilder file;
    file.Size("60 40")
        .Printer("Zebra ZD421")
        .Record(Sample(ElementKind::Barcode, 5))
        .Record(Sample(ElementKind::Text, 9));
    const auto read = ParseLabelFile(file.bytes, "a.lab");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.contents->widthMM, 60);
    EXPECT_EQ(read.contents->heightMM, 40);
    EXPECT_EQ(read.contents->printerName, "Zebra ZD421");
    EXPECT_EQ(read.contents->layout, LabelLayout::Current);
    ASSERT_EQ(read.contents->elements.size(), 2u);
    const Element& first = *read.contents->elements[0];
    Element expected = Sample(ElementKind::Barcode, 5);
    expected.hImage = 0;
    EXPECT_EQ(std::memcmp(&first, &expected, kElementSize), 0);
    EXPECT_EQ(read.contents->elements[1]->nKind, ElementKind::Text);
}

TEST(LabelFile, LayoutIsDecidedByLength) {
    struct Case {
        const char* name;
        FileBuilder file;
        LabelLayout layout;
        std::string printer;
        std::size_t records;
    };
    const std::string chinesePrinter = Gb18030FromUtf8("标签打印机");
    Case cases[] = {
        {"empty printer name", FileBuilder{}.Size("50 80").Printer("").Record(Sample(ElementKind::Text, 1)),
         LabelLayout::Current, "", 1},
        {"non-ASCII printer name",
         FileBuilder{}.Size("50 80").Printer(chinesePrinter).Record(Sample(ElementKind::Line, 1)),
         LabelLayout::Current, "标签打印机", 1},
        {"older layout",
         FileBuilder{}
             .Size("50 80")
             .Record(Sample(ElementKind::Shape, 1))
             .Record(Sample(ElementKind::Text, 2)),
         LabelLayout::Older, "", 2},
        {"older layout, no records", FileBuilder{}.Size("50 80"), LabelLayout::Older, "", 0},
        {"current layout, no records", FileBuilder{}.Size("50 80").Printer("P"), LabelLayout::Current, "P",
         0},
        {"truncated, printable first byte",
         FileBuilder{}
             .Size("50 80")
             .Printer("A")
             .Record(Sample(ElementKind::Text, 1))
             .Record(Sample(ElementKind::Text, 2))
             .Truncate(100),
         LabelLayout::Current, "A", 1},
        {"truncated, NUL first byte",
         FileBuilder{}.Size("50 80").Record(Sample(ElementKind::Text, 1)).Truncate(8), LabelLayout::Older, "",
         0},
        {"truncated older file",
         FileBuilder{}
             .Size("50 80")
             .Record(Sample(ElementKind::Text, 1))
             .Record(Sample(ElementKind::Text, 2))
             .Truncate(3),
         LabelLayout::Older, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = ParseLabelFile(c.file.bytes, "x.lab");
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.contents->layout, c.layout);
        EXPECT_EQ(read.contents->printerName, c.printer);
        EXPECT_EQ(read.contents->elements.size(), c.records);
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

TEST(LabelFile, SaveWritesHeaderRecordsAndNothingElse) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.SetLabelSize(60, 40);
    label.m_strPrinterName = "Zebra";
    label.Append(Sample(ElementKind::Text, 1));
    Element& cut = label.Append(Sample(ElementKind::Barcode, 2));
    cut.bCut = 1;
    label.Append(Sample(ElementKind::Code2D, 3));

    const auto status = SaveLabelFile(label, dir / "a.lab");
    ASSERT_TRUE(status) << status.error;
    EXPECT_TRUE(status.written);
    const auto bytes = ReadBytes(dir / "a.lab");
    ASSERT_EQ(bytes.size(), 84u + 2 * 508u);  // the cut record is left out
    const char expectedSize[20] = {'6', '0', ' ', '4', '0'};
    EXPECT_EQ(std::memcmp(bytes.data(), expectedSize, 20), 0);
    const char expectedPrinter[64] = {'Z', 'e', 'b', 'r', 'a'};
    EXPECT_EQ(std::memcmp(bytes.data() + 20, expectedPrinter, 64), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 84, label.m_elements[0].get(), 508), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 84 + 508, label.m_elements[2].get(), 508), 0);
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(LabelFile, RoundTripIsByteIdenticalExceptTheImageCache) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.m_strPrinterName = "打印机 ÄÖ";
    for (int i = 0; i < 6; ++i) {
        Element e = Sample(static_cast<ElementKind>(i), i * 10);
        SetContent(e, "内容 " + std::to_string(i), Overflow::Refuse);
        label.Append(e).hImage = 1234;
    }
    ASSERT_TRUE(SaveLabelFile(label, dir / "r.lab"));
    EXPECT_EQ(std::filesystem::file_size(dir / "r.lab"), 84u + 6 * 508u);

    Label reopened = MakeLabel(dir);
    ASSERT_TRUE(OpenLabelFile(reopened, dir / "r.lab"));
    EXPECT_EQ(reopened.m_strPrinterName, "打印机 ÄÖ");
    EXPECT_EQ(reopened.m_nLabelWidthMM, 50);
    EXPECT_EQ(reopened.m_nLabelHeightMM, 80);
    EXPECT_EQ(reopened.m_strFileName, (dir / "r.lab").string());
    ASSERT_EQ(reopened.m_elements.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        Element expected = *label.m_elements[i];
        EXPECT_EQ(reopened.m_elements[i]->hImage, 0u);
        expected.hImage = 0;
        EXPECT_EQ(std::memcmp(reopened.m_elements[i].get(), &expected, kElementSize), 0) << i;
    }
}

TEST(LabelFile, LongPrinterNamesAreCutAtACharacterBoundary) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.Append(Sample(ElementKind::Text, 1));
    label.m_strPrinterName = "A" + std::string(40, 'x');
    for (int i = 0; i < 12; ++i) {
        label.m_strPrinterName += "汉";  // 2 bytes each: the 64th byte would split one
    }
    const auto bytes = LabelFileBytes(label);
    ASSERT_EQ(bytes.size(), 84u + 508u);
    const auto read = ParseLabelFile(bytes, "p.lab");
    ASSERT_TRUE(read);
    EXPECT_EQ(read.contents->printerName, "A" + std::string(40, 'x') + "汉汉汉汉汉汉汉汉汉汉汉");
}

TEST(LabelFile, EmptyLabelWritesNothingAndSucceeds) {
    TempDir dir;
    Label label = MakeLabel(dir);
    const auto status = SaveLabelFile(label, dir / "empty.lab");
    EXPECT_TRUE(status);
    EXPECT_FALSE(status.written);
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.lab"));
}

TEST(LabelFile, FailedSaveLeavesTheOldFileIntact) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.Append(Sample(ElementKind::Text, 1));
    ASSERT_TRUE(SaveLabelFile(label, dir / "keep.lab"));
    const auto before = ReadBytes(dir / "keep.lab");

    // A folder in the way of the temporary name's parent: saving into a "folder" that is a file.
    const auto status = SaveLabelFile(label, dir / "keep.lab" / "inner.lab");
    EXPECT_FALSE(status);
    EXPECT_NE(status.error.find("inner.lab"), std::string::npos) << status.error;
    EXPECT_EQ(ReadBytes(dir / "keep.lab"), before);

    // Replacing a directory fails at the rename; the directory and no temp file remain.
    std::filesystem::create_directory(dir / "folder.lab");
    std::filesystem::create_directory(dir / "folder.lab" / "x");
    EXPECT_FALSE(SaveLabelFile(label, dir / "folder.lab"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.lab"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // keep, folder
}

TEST(LabelFile, SaveThroughASymlinkReplacesItsTarget) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.Append(Sample(ElementKind::Text, 1));
    WriteBytes(dir / "real.lab", {});
    std::filesystem::create_symlink("real.lab", dir / "link.lab");
    ASSERT_TRUE(SaveLabelFile(label, dir / "link.lab"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.lab"));
    EXPECT_EQ(std::filesystem::file_size(dir / "real.lab"), 84u + 508u);
}

// What the saved-over file is stays as it was: its mode, its other names, its owner; a read-only
// file is refused and left alone; names up to the longest the system allows save.
TEST(LabelFile, SaveKeepsTheFileAndRefusesReadOnlyOnes) {
    struct Case {
        const char* name;
        std::string file;
        mode_t mode;
        bool linked, foreign, saved;
    };
    const Case cases[] = {
        {"mode kept", "mode.lab", 0640, false, false, true},
        {"read-only refused", "ro.lab", 0444, false, false, false},
        {"hard link kept", "linked.lab", 0644, true, false, true},
        {"owner kept", "theirs.lab", 0666, false, true, true},
        {"name of 255 bytes", std::string(251, 'n') + ".lab", 0644, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.foreign && ::geteuid() != 0) {
            continue;  // only root can give a file away
        }
        TempDir dir;
        Label label = MakeLabel(dir);
        label.Append(Sample(ElementKind::Text, 1));
        const auto file = dir / c.file;
        WriteBytes(file, std::vector<std::byte>(7, std::byte{'x'}));
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        if (c.linked) {
            std::filesystem::create_hard_link(file, dir / "other-name.lab");
        }
        if (c.foreign) {
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        struct stat before {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);

        const auto status = SaveLabelFile(label, file);
        EXPECT_EQ(static_cast<bool>(status), c.saved) << status.error;
        EXPECT_EQ(std::filesystem::file_size(file), c.saved ? 84u + 508u : 7u);
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        if (c.linked || c.foreign) {
            EXPECT_EQ(after.st_ino, before.st_ino);  // written in place
        }
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        if (!c.saved) {
            EXPECT_NE(status.error.find("read-only"), std::string::npos) << status.error;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), c.linked ? 2 : 1);
    }
}

TEST(LabelFile, FailedOpenLeavesTheLabelButWritesTheBaseSnapshot) {
    TempDir dir;
    Label label = MakeLabel(dir);
    label.SetLabelSize(30, 20);
    label.m_strFileName = "before.lab";
    label.m_strPrinterName = "P";
    label.Append(Sample(ElementKind::Text, 1));
    WriteBytes(dir / "bad.lab", FileBuilder{}.Size("0 0").Printer("Q").bytes);

    const auto status = OpenLabelFile(label, dir / "bad.lab");
    EXPECT_FALSE(status);
    EXPECT_NE(status.error.find("bad.lab"), std::string::npos);
    EXPECT_EQ(label.m_nLabelWidthMM, 30);
    EXPECT_EQ(label.m_strFileName, "before.lab");
    EXPECT_EQ(label.m_strPrinterName, "P");
    EXPECT_EQ(label.m_elements.size(), 1u);
    const auto base = label.Snapshots().Read(0);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->size(), 1u);

    EXPECT_FALSE(OpenLabelFile(label, dir / "missing.lab"));
    EXPECT_FALSE(OpenLabelFile(label, dir.Path()));  // a folder is not a label
    EXPECT_EQ(label.m_elements.size(), 1u);
}

TEST(LabelFile, ShippedSampleMatchesItsGenerator) {
    TempDir dir;
    Label label = MakeLabel(dir);
    testing::FillSampleLabel(label);
    const auto shipped = ReadBytes(std::filesystem::path(ETIQO_SOURCE_DIR) / "samples" / "sample.lab");
    EXPECT_EQ(shipped, LabelFileBytes(label)) << "regenerate with make_sample_label samples/sample.lab";
}

}  // namespace
}  // namespace etiqo
