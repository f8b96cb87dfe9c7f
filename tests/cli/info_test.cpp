// etiqo info, run as a process on label files written byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "TempDir.h"
#include "model/Element.h"

namespace etiqo {
namespace {

using nlohmann::json;
using testing::RunProcess;
using testing::TempDir;

void Put(std::vector<std::byte>& out, const void* data, std::size_t size, std::size_t width) {
    std::vector<std::byte> block(width);
    std::memcpy(block.data(), data, std::min(size, width));
    out.insert(out.end(), block.begin(), block.end());
}

void PutText(std::vector<std::byte>& out, std::string_view text, std::size_t width) {
    Put(out, text.data(), text.size(), width);
}

// A text record set field by field, with its content and face given as GB18030 bytes.
Element TextRecord(std::string_view contentGb, std::string_view faceGb) {
    Element e;
    std::memset(&e, 0, sizeof e);
    e.nKind = ElementKind::Text;
    e.nPosX = 12;
    e.nPosY = -3;
    e.nWidth = 200;
    e.nHeight = 40;
    e.nEscapement = -900;
    e.lfFont.lfHeight = 20;
    e.lfFont.lfWeight = 700;
    e.lfFont.lfItalic = 1;
    e.lfFont.lfEscapement = 900;
    std::memcpy(e.lfFont.lfFaceName, faceGb.data(), faceGb.size());
    std::memcpy(e.str, contentGb.data(), contentGb.size());
    e.bSelected = 1;
    e.hImage = 0xDEADBEEF;
    e.nSerialMode = 1;
    e.nSerialStep = 2;
    e.nSerialResetAt = 99999;
    e.nSerialResetTo = 1;
    return e;
}

Element LineRecord() {
    Element e;
    std::memset(&e, 0, sizeof e);
    e.nKind = ElementKind::Line;
    e.nPosX = 1;
    e.nPosY = 2;
    e.nEndX = 300;
    e.nEndY = 4;
    e.nPenWidth = 3;
    return e;
}

class Info : public ::testing::Test {
protected:
    TempDir dir;

    std::string Write(const std::string& name, const std::vector<std::byte>& bytes) {
        testing::WriteBytes(dir / name, bytes);
        return (dir / name).string();
    }
    json Run(const std::string& file) {
        const auto result = RunProcess(testing::EtiqoProgram(), {"info", file});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(result.err.empty()) << result.err;
        return json::parse(result.out);
    }
};

TEST_F(Info, CurrentLayoutWithChineseTextAndEveryKey) {
    std::vector<std::byte> bytes;
    PutText(bytes, "60 40", 20);
    PutText(bytes, "\xB1\xEA\xC7\xA9\xB4\xF2\xD3\xA1\xBB\xFA", 64);               // 标签打印机
    const Element text = TextRecord("\xD6\xD0\xCE\xC4 001", "\xCB\xCE\xCC\xE5");  // 中文 001, 宋体
    Put(bytes, &text, sizeof text, kElementSize);
    const Element line = LineRecord();
    Put(bytes, &line, sizeof line, kElementSize);

    const json info = Run(Write("chinese.lab", bytes));
    EXPECT_EQ(info["widthMM"], 60);
    EXPECT_EQ(info["heightMM"], 40);
    EXPECT_EQ(info["printer"], "标签打印机");
    EXPECT_EQ(info["layout"], "current");
    ASSERT_EQ(info["elements"].size(), 2u);
    const json& t = info["elements"][0];
    EXPECT_EQ(t["kind"], "text");
    EXPECT_EQ(t["content"], "中文 001");
    EXPECT_EQ(t["x"], 12);
    EXPECT_EQ(t["y"], -3);
    EXPECT_EQ(t["rotation"], -900);  // as stored
    EXPECT_EQ(t["selected"], 1);
    EXPECT_EQ(t["font"], (json{{"face", "宋体"},
                               {"height", 20},
                               {"width", 0},
                               {"weight", 700},
                               {"italic", 1},
                               {"underline", 0},
                               {"strikeout", 0},
                               {"escapement", 900}}));
    EXPECT_EQ(t["serial"], (json{{"mode", 1}, {"step", 2}, {"resetAt", 99999}, {"resetTo", 1}}));
    const json& l = info["elements"][1];
    EXPECT_EQ(l["kind"], "line");
    EXPECT_EQ(l["end"], (json{300, 4}));
    EXPECT_EQ(l["penWidth"], 3);

    const char* keys[] = {"kind",    "x",         "y",          "width",      "height",      "rotation",
                          "content", "selected",  "font",       "symbology",  "showText",    "penWidth",
                          "end",     "shapeType", "cornerSize", "imageWidth", "imageHeight", "minBarHeight",
                          "serial"};
    for (const json& element : info["elements"]) {
        EXPECT_EQ(element.size(), std::size(keys));
        for (const char* key : keys) {
            EXPECT_TRUE(element.contains(key)) << key;
        }
    }
}

TEST_F(Info, OlderLayoutEmptyPrinterAndTruncatedRecord) {
    const Element line = LineRecord();
    std::vector<std::byte> older;
    PutText(older, "50 30", 20);
    Put(older, &line, sizeof line, kElementSize);
    const json o = Run(Write("older.lab", older));
    EXPECT_EQ(o["layout"], "older");
    EXPECT_EQ(o["printer"], "");
    EXPECT_EQ(o["elements"].size(), 1u);

    std::vector<std::byte> empty;
    PutText(empty, "50 30", 20);
    PutText(empty, "", 64);
    Put(empty, &line, sizeof line, kElementSize);
    const json e = Run(Write("empty-printer.lab", empty));
    EXPECT_EQ(e["layout"], "current");
    EXPECT_EQ(e["printer"], "");
    ASSERT_EQ(e["elements"].size(), 1u);
    EXPECT_EQ(e["elements"][0]["end"], (json{300, 4}));

    std::vector<std::byte> truncated = empty;
    truncated[20] = std::byte{'Z'};
    Put(truncated, &line, sizeof line, 300);  // half a record
    const json t = Run(Write("truncated.lab", truncated));
    EXPECT_EQ(t["layout"], "current");
    EXPECT_EQ(t["printer"], "Z");
    EXPECT_EQ(t["elements"].size(), 1u);
}

TEST_F(Info, InvalidTextBecomesReplacementCharacters) {
    std::vector<std::byte> bytes;
    PutText(bytes, "50 30", 20);
    PutText(bytes, "P", 64);
    const Element text = TextRecord("A\xFF\x81", "");
    Put(bytes, &text, sizeof text, kElementSize);
    const json info = Run(Write("invalid.lab", bytes));
    EXPECT_EQ(info["elements"][0]["content"], "A\uFFFD\uFFFD");
}

TEST_F(Info, NonLabelsFailWithOneLineNamingTheFile) {
    const std::string files[] = {
        Write("text.lab", std::vector<std::byte>(100, std::byte{'x'})),
        Write("short.lab", std::vector<std::byte>(5)),
        Write("zero.lab",
              [] {
                  std::vector<std::byte> b;
                  PutText(b, "0 40", 84);
                  return b;
              }()),
        (dir / "missing.lab").string(),
        dir.Path().string(),
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const auto result = RunProcess(testing::EtiqoProgram(), {"info", file});
        EXPECT_EQ(result.status, 1);
        EXPECT_TRUE(result.out.empty());
        EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

TEST_F(Info, ShippedSampleDescribesItself) {
    const json info = Run((std::filesystem::path(ETIQO_SOURCE_DIR) / "samples" / "sample.lab").string());
    std::vector<std::string> kinds;
    for (const json& element : info["elements"]) {
        kinds.push_back(element["kind"]);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"text", "text", "barcode", "2d", "line", "shape"}));
    EXPECT_EQ(info["elements"][1]["content"], "中文标签：品名");
}

}  // namespace
}  // namespace etiqo
