// The .lab file: both layouts read back byte for byte, the header written, and saves that keep
// what stood under the name whole.
#include "model/LabelFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "LabelBytes.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using testing::FileText;
using testing::TempDir;

LabelReadResult Parse(const std::string& bytes, std::string_view name = "x.lab") {
    return ParseLabelFile(std::as_bytes(std::span(bytes)), name);
}

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
    const std::string size = Field("60 40", 20), text1 = Record(text(1)), text2 = Record(text(2));
    using enum LabelLayout;
    // clang-format off
    const struct { const char* name; std::string file; LabelLayout layout; std::string printer; std::size_t records; } cases[] = {
        // The records: Sample(kind of record 1, 1), then Text at x = 2.
        {"current layout", size + Field("Zebra ZD421", 64) + Record(Sample(ElementKind::Barcode, 1)) + text2, Current, "Zebra ZD421", 2},
        {"empty printer name", size + Field("", 64) + text1, Current, "", 1},
        {"non-ASCII printer name", size + Field(Gb18030FromUtf8("标签打印机"), 64) + Record(Sample(ElementKind::Line, 1)), Current, "标签打印机", 1},
        {"older layout", size + Record(Sample(ElementKind::Shape, 1)) + text2, Older, "", 2},
        {"older layout, no records", size, Older, "", 0},
        {"current layout, no records", size + Field("P", 64), Current, "P", 0},
        {"truncated, printable first byte", (size + Field("A", 64) + text1 + text2).substr(0, 84 + 2 * 508 - 100), Current, "A", 1},
        {"truncated, NUL first byte", (size + text1).substr(0, 20 + 500), Older, "", 0},
        {"truncated older file", (size + text1 + text2).substr(0, 20 + 2 * 508 - 3), Older, "", 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = Parse(c.file);
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.contents->widthMM, 60);
        EXPECT_EQ(read.contents->heightMM, 40);
        EXPECT_EQ(read.contents->layout, c.layout);
        EXPECT_EQ(read.contents->printerName, c.printer);
        ASSERT_EQ(read.contents->elements.size(), c.records);
        for (std::size_t i = 0; i < c.records; ++i) {
            ExpectSameRecord(*read.contents->elements[i], i > 0
                                                              ? text(static_cast<int>(i) + 1)
                                                              : Sample(read.contents->elements[0]->nKind, 1));
        }
    }
    for (const char* bad :
         {"", "60", "60x40", "abc 40", "0 40", "60 0", "-60 40", "1001 40", "60 1001", "99999999999 4"}) {
        const auto read = Parse(Field(bad, 20) + Field("P", 64) + text1, "bad.lab");
        EXPECT_FALSE(read) << bad;
        EXPECT_EQ(read.error.rfind("bad.lab: ", 0), 0u) << read.error;
        EXPECT_EQ(read.error.find('\n'), std::string::npos);
    }
    for (const char* good : {"1 1", "1000 1000", " 60\t40", "+60 40", "60 40 junk"}) {
        EXPECT_TRUE(Parse(Field(good, 20))) << good;
    }
    EXPECT_FALSE(Parse(Field("60 40", 19)));
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
    const std::string bytes = FileText(dir / "r.lab");
    ASSERT_EQ(bytes.size(), 84u + 5 * 508u);
    EXPECT_EQ(bytes.substr(0, 20), Field("60 40", 20));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file";

    Label reopened(SnapshotStore(dir / "undo"));
    ASSERT_TRUE(OpenLabelFile(reopened, dir / "r.lab"));
    EXPECT_EQ(std::tie(reopened.m_strPrinterName, reopened.m_nLabelWidthMM, reopened.m_nLabelHeightMM),
              std::tuple(printer, 60, 40));
    EXPECT_EQ(reopened.m_strFileName, (dir / "r.lab").string());
    ASSERT_EQ(reopened.m_elements.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        ExpectSameRecord(*reopened.m_elements[i], *label.m_elements[i < 2 ? i : i + 1]);
    }

    // A failed save or open leaves the file and the label as they were. Saving into a "folder"
    // that is a file fails at the temporary file; over a folder at the rename.
    const auto failed = SaveLabelFile(reopened, dir / "r.lab" / "inner.lab");
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.error.find("inner.lab"), std::string::npos) << failed.error;
    std::filesystem::create_directories(dir / "folder.lab" / "x");
    EXPECT_FALSE(SaveLabelFile(reopened, dir / "folder.lab"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.lab" / "x"));
    EXPECT_EQ(FileText(dir / "r.lab"), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);  // r.lab, undo, folder
    std::ofstream(dir / "bad.lab") << Field("0 0", 20) + Field("Q", 64);
    const auto open = OpenLabelFile(reopened, dir / "bad.lab");
    EXPECT_FALSE(open);
    EXPECT_NE(open.error.find("bad.lab"), std::string::npos);
    EXPECT_FALSE(OpenLabelFile(reopened, dir / "missing.lab"));
    EXPECT_EQ(std::tie(reopened.m_strPrinterName, reopened.m_nLabelWidthMM, reopened.m_strFileName),
              std::tuple(printer, 60, (dir / "r.lab").string()));
    EXPECT_EQ(reopened.m_elements.size(), 5u);
    EXPECT_EQ(reopened.Snapshots().Read(0).value().size(), 5u);
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
        std::ofstream(target) << "xxxxxxx";
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
        EXPECT_EQ(std::tuple(after.st_mode, after.st_uid, after.st_nlink),
                  std::tuple(before.st_mode, before.st_uid, before.st_nlink));
        if (c.foreign) {
            EXPECT_EQ(after.st_ino, before.st_ino);  // written in place
        }
        EXPECT_EQ(std::filesystem::is_symlink(file), c.symlink);
        if (!c.saved) {
            EXPECT_NE(status.error.find("read-only"), std::string::npos) << status.error;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), c.symlink ? 2 : 1);
    }
}

}  // namespace
}  // namespace etiqo
