// etiqo info, run as a process on label files written byte by byte and on the sample label.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "LabelBytes.h"
#include "RunProcess.h"
#include "TempDir.h"

namespace etiqo {
namespace {

using nlohmann::json;

json Info(const std::string& file) {
    const auto run = testing::RunProcess(testing::EtiqoProgram(), {"info", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return json::parse(run.out);
}

TEST(Info, DescribesEveryLayoutAndField) {
    testing::TempDir dir;
    // Every field its own value, so that one written under another's key shows; GB18030 text.
    Element text = ZeroElement();
    text.nKind = ElementKind::Text;
    std::tie(text.nPosX, text.nPosY, text.nWidth, text.nHeight, text.nEscapement) =
        std::tuple(12, -3, 200, 40, -900);
    std::tie(text.lfFont.lfHeight, text.lfFont.lfEscapement, text.lfFont.lfWeight) = std::tuple(20, 900, 700);
    std::tie(text.lfFont.lfItalic, text.bSelected, text.hImage) = std::tuple(1, 1, 0xDEADBEEF);
    std::tie(text.nSerialMode, text.nSerialStep, text.nSerialResetAt, text.nSerialResetTo) =
        std::tuple(1, 2, 99999, 1);
    std::strcpy(text.lfFont.lfFaceName, "\xCB\xCE\xCC\xE5");
    std::strcpy(text.str, "\xD6\xD0\xCE\xC4 001");
    Element line = ZeroElement();
    line.nKind = ElementKind::Line;
    std::tie(line.nPosX, line.nPosY, line.nEndX, line.nEndY, line.nPenWidth) = std::tuple(1, 2, 300, 4, 3);
    Element damaged = text;
    std::strcpy(damaged.str, "A\xFF\x81");
    const json lineJson =
        json::parse(R"({"kind": "line", "x": 1, "y": 2, "width": 0, "height": 0, "rotation": 0,
        "content": "", "selected": 0, "font": {"face": "", "height": 0, "width": 0, "weight": 0, "italic": 0,
        "underline": 0, "strikeout": 0, "escapement": 0}, "symbology": 0, "showText": 0, "penWidth": 3,
        "end": [300, 4], "shapeType": 0, "cornerSize": 0, "imageWidth": 0, "imageHeight": 0, "minBarHeight": 0,
        "serial": {"mode": 0, "step": 0, "resetAt": 0, "resetTo": 0}})");
    json textJson = lineJson;
    textJson.update(json::parse(R"({"kind": "text", "content": "中文 001", "x": 12, "y": -3, "width": 200,
        "height": 40, "rotation": -900, "selected": 1, "penWidth": 0, "end": [0, 0], "font": {"face": "宋体",
        "height": 20, "width": 0, "weight": 700, "italic": 1, "underline": 0, "strikeout": 0, "escapement": 900},
        "serial": {"mode": 1, "step": 2, "resetAt": 99999, "resetTo": 1}})"));
    json damagedJson = textJson;
    damagedJson["content"] = "A\uFFFD\uFFFD";
    const std::string printer = Field("\xB1\xEA\xC7\xA9\xB4\xF2\xD3\xA1\xBB\xFA", 64);
    // clang-format off
    const auto file = [](int w, int h, const char* printer, const char* layout, json elements) {
        return json{{"widthMM", w}, {"heightMM", h}, {"printer", printer}, {"layout", layout}, {"elements", elements}};
    };
    const struct { const char* name; std::string bytes; json want; } rows[] = {
        {"current layout, Chinese text, face and printer", Field("60 40", 20) + printer + Record(text) + Record(line), file(60, 40, "标签打印机", "current", {textJson, lineJson})},
        {"older layout", Field("50 30", 20) + Record(line), file(50, 30, "", "older", {lineJson})},
        {"damaged text", Field("50 30", 20) + Field("P", 64) + Record(damaged), file(50, 30, "P", "current", {damagedJson})},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::ofstream(dir / "label.lab", std::ios::binary) << row.bytes;
        EXPECT_EQ(Info((dir / "label.lab").string()), row.want);
    }
    const json sample = Info((std::filesystem::path(ETIQO_SOURCE_DIR) / "samples" / "sample.lab").string());
    std::vector<std::string> kinds;
    for (const json& element : sample["elements"]) {
        kinds.push_back(element["kind"]);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"text", "text", "barcode", "2d", "line", "shape"}));
    EXPECT_EQ(sample["elements"][1]["content"], "中文标签：品名");
}

}  // namespace
}  // namespace etiqo
