// etiqo info, run as a process on label files written byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "TempDir.h"
#include "model/Element.h"

namespace etiqo {
namespace {

using nlohmann::json;

std::string Field(std::string_view text, std::size_t width) {
    std::string field(text.substr(0, width));
    field.resize(width, '\0');
    return field;
}

std::string Record(const Element& e, std::size_t width = kElementSize) {
    return std::string(reinterpret_cast<const char*>(&e), width);
}

// A text record with every font and serial field set, content and face given as GB18030 bytes.
Element TextRecord(std::string_view contentGb, std::string_view faceGb) {
    Element e = ZeroElement();
    e.nKind = ElementKind::Text;
    e.nPosX = 12;
    e.nPosY = -3;
    e.nWidth = 200;
    e.nHeight = 40;
    e.nEscapement = -900;
    e.lfFont.lfHeight = 20;
    e.lfFont.lfEscapement = 900;
    e.lfFont.lfWeight = 700;
    e.lfFont.lfItalic = 1;
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
    Element e = ZeroElement();
    e.nKind = ElementKind::Line;
    e.nPosX = 1;
    e.nPosY = 2;
    e.nEndX = 300;
    e.nEndY = 4;
    e.nPenWidth = 3;
    return e;
}

// Every key present in `want` has its value in `got`, recursively for objects and arrays.
void ExpectContains(const json& got, const json& want, const std::string& at = "") {
    if (want.is_object() || (want.is_array() && !want.empty() && want[0].is_object())) {
        ASSERT_TRUE(want.is_object() || got.size() == want.size()) << at << ": " << got.size() << " items";
        for (const auto& [key, value] : want.items()) {
            ASSERT_TRUE(want.is_array() || got.contains(key)) << at << "/" << key;
            ExpectContains(want.is_object() ? got[key] : got[std::stoul(key)], value, at + "/" + key);
        }
        return;
    }
    EXPECT_EQ(got, want) << at;
}

TEST(Info, DescribesEveryLayoutAndField) {
    testing::TempDir dir;
    const Element line = LineRecord();
    const std::string current = Field("60 40", 20) + Field("\xB1\xEA\xC7\xA9\xB4\xF2\xD3\xA1\xBB\xFA", 64);
    const json lineJson = {{"kind", "line"}, {"x", 1}, {"y", 2}, {"end", {300, 4}}, {"penWidth", 3}};
    const json textJson = {{"kind", "text"},
                           {"content", "中文 001"},
                           {"x", 12},
                           {"y", -3},
                           {"rotation", -900},
                           {"selected", 1},
                           {"font",
                            {{"face", "宋体"},
                             {"height", 20},
                             {"width", 0},
                             {"weight", 700},
                             {"italic", 1},
                             {"underline", 0},
                             {"strikeout", 0},
                             {"escapement", 900}}},
                           {"serial", {{"mode", 1}, {"step", 2}, {"resetAt", 99999}, {"resetTo", 1}}}};
    const struct {
        const char* name;
        std::string bytes;
        json want;
    } rows[] = {
        {"current layout, Chinese text and face",
         current + Record(TextRecord("\xD6\xD0\xCE\xC4 001", "\xCB\xCE\xCC\xE5")) + Record(line),
         {{"widthMM", 60},
          {"heightMM", 40},
          {"printer", "标签打印机"},
          {"layout", "current"},
          {"elements", {textJson, lineJson}}}},
        {"older layout",
         Field("50 30", 20) + Record(line),
         {{"layout", "older"}, {"printer", ""}, {"elements", {lineJson}}}},
        {"empty printer", Field("50 30", 84) + Record(line), {{"layout", "current"}, {"printer", ""}}},
        {"truncated record",
         Field("50 30", 20) + Field("Z", 64) + Record(line) + Record(line, 300),
         {{"layout", "current"}, {"printer", "Z"}, {"elements", {lineJson}}}},
        {"invalid text",
         Field("50 30", 20) + Field("P", 64) + Record(TextRecord("A\xFF\x81", "")),
         {{"elements", {{{"content", "A\uFFFD\uFFFD"}}}}}},
    };
    const char* keys[] = {"kind",    "x",         "y",          "width",      "height",      "rotation",
                          "content", "selected",  "font",       "symbology",  "showText",    "penWidth",
                          "end",     "shapeType", "cornerSize", "imageWidth", "imageHeight", "minBarHeight",
                          "serial"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto file = dir / "label.lab";
        std::ofstream(file, std::ios::binary) << row.bytes;
        const auto run = testing::RunProcess(testing::EtiqoProgram(), {"info", file.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const json info = json::parse(run.out);
        ExpectContains(info, row.want);
        for (const json& element : info["elements"]) {
            EXPECT_EQ(element.size(), std::size(keys));
            for (const char* key : keys) {
                EXPECT_TRUE(element.contains(key)) << key;
            }
        }
    }
    const auto sample = (std::filesystem::path(ETIQO_SOURCE_DIR) / "samples" / "sample.lab").string();
    const json info = json::parse(testing::RunProcess(testing::EtiqoProgram(), {"info", sample}).out);
    std::vector<std::string> kinds;
    for (const json& element : info["elements"]) {
        kinds.push_back(element["kind"]);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"text", "text", "barcode", "2d", "line", "shape"}));
    EXPECT_EQ(info["elements"][1]["content"], "中文标签：品名");
}

}  // namespace
}  // namespace etiqo
