// Records holding what no designer would save, one element of every kind per label: each label
// opens, draws on screen and on paper and prints to PDF, and drawing leaves the stored fields as
// they were. A hang or a huge allocation fails the run (per-case timeout, sanitizers).

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "HostileLabel.h"
#include "TempDir.h"
#include "model/ElementFactory.h"

namespace etiqo {
namespace {

using testing::TempDir;

// A name and what it does to an element.
using HostileCase = std::pair<const char*, std::function<void(Element&)>>;

// The pattern repeated over the whole field; one ending in NUL terminates the field at once.
template <std::size_t N>
void Fill(char (&field)[N], const std::string& pattern) {
    for (std::size_t i = 0; i < N; ++i) {
        field[i] = pattern[i % pattern.size()];
    }
}

// One ordinary element of every kind, sized as the designer leaves them.
std::vector<Element> EveryKind() {
    Element text = MakeTextElement(10, 10, "Lot 0001");
    Element barcode = MakeBarcodeElement(10, 60, "ABC-0001");
    barcode.nWidth = 240;
    barcode.nHeight = 80;
    Element ean = MakeBarcodeElement(10, 150, "590123412345");
    ean.nSymbology = kSymbologyOwnEan13;
    ean.nWidth = 220;
    ean.nHeight = 90;
    Element code2d = Make2DElement(250, 10, "https://example.org/1");
    code2d.nWidth = code2d.nHeight = 100;
    Element picture = *MakePictureElement(250, 150, "/nonexistent/logo.png", 100, 50);
    Element line = MakeLineElement(5, 5, DisplayScale{1.0, 1.0});
    line.nEndX = 300;
    line.nEndY = 200;
    Element shape = MakeShapeElement(20, 20);
    shape.nWidth = 120;
    shape.nHeight = 80;
    shape.nShapeType = kShapeRoundedRectangle;
    shape.nCornerSize = 20;
    std::vector<Element> all{text, barcode, ean, code2d, picture, line, shape};
    for (Element& e : all) {
        e.bSelected = 0;
        e.nSize = kNoGrip;
        e.nPenWidth = 2;
    }
    return all;
}

const HostileCase kCases[] = {
    {"SizeIntMax", [](Element& e) { e.nWidth = e.nHeight = INT_MAX; }},
    {"SizeIntMin", [](Element& e) { e.nWidth = e.nHeight = INT_MIN; }},
    {"SizeNegative", [](Element& e) { e.nWidth = -1, e.nHeight = -500; }},
    {"SizeZero", [](Element& e) { e.nWidth = e.nHeight = 0; }},
    {"SizeWideFlat", [](Element& e) { e.nWidth = INT_MAX, e.nHeight = 1; }},
    {"SizeNarrowTall", [](Element& e) { e.nWidth = 1, e.nHeight = INT_MAX; }},
    {"PositionIntMax", [](Element& e) { e.nPosX = e.nPosY = INT_MAX; }},
    {"PositionIntMin", [](Element& e) { e.nPosX = e.nPosY = INT_MIN; }},
    {"FarAwayAndHuge", [](Element& e) { e.nPosX = e.nPosY = INT_MIN, e.nWidth = e.nHeight = INT_MAX; }},
    {"CoveringThePage", [](Element& e) { e.nPosX = e.nPosY = -1000000, e.nWidth = e.nHeight = 2000000; }},
    {"PenIntMax", [](Element& e) { e.nPenWidth = INT_MAX; }},
    {"PenNegative", [](Element& e) { e.nPenWidth = INT_MIN; }},
    {"CornerIntMax", [](Element& e) { e.nCornerSize = INT_MAX; }},
    {"CornerNegative", [](Element& e) { e.nCornerSize = INT_MIN; }},
    {"FontHeightIntMax", [](Element& e) { e.lfFont.lfHeight = INT_MAX; }},
    {"FontHeightIntMin", [](Element& e) { e.lfFont.lfHeight = INT_MIN; }},
    {"FontWidthIntMax", [](Element& e) { e.lfFont.lfWidth = INT_MAX; }},
    {"FontWidthIntMin", [](Element& e) { e.lfFont.lfWidth = INT_MIN; }},
    {"FontSizeOfUnsizedText",
     [](Element& e) { e.nWidth = e.nHeight = 0, e.lfFont.lfHeight = INT_MIN, e.lfFont.lfWidth = INT_MAX; }},
    {"FontWeightAndEscapement",
     [](Element& e) {
         e.lfFont.lfWeight = e.lfFont.lfEscapement = INT_MIN, e.lfFont.lfOrientation = INT_MAX;
     }},
    {"CaptionHeightIntMax", [](Element& e) { e.bShowText = 1, e.lfFont.lfHeight = INT_MAX; }},
    {"CaptionHeightIntMin", [](Element& e) { e.bShowText = -7, e.lfFont.lfHeight = INT_MIN; }},
    {"KindUnknown", [](Element& e) { e.nKind = static_cast<ElementKind>(6); }},
    {"KindNegative", [](Element& e) { e.nKind = static_cast<ElementKind>(INT_MIN); }},
    {"SymbologyUnknown", [](Element& e) { e.nSymbology = 9999; }},
    {"SymbologyNegative", [](Element& e) { e.nSymbology = INT_MIN; }},
    {"SymbologyZero", [](Element& e) { e.nSymbology = 0; }},
    {"MaxiCodeHugeScale", [](Element& e) { e.nSymbology = 57, e.nWidth = INT_MAX; }},
    {"QrHugeScale", [](Element& e) { e.nSymbology = kSymbologyQrCode, e.nWidth = e.nHeight = 40000; }},
    {"ShapeTypeUnknown", [](Element& e) { e.nShapeType = 99; }},
    {"ShapeTypeNegative", [](Element& e) { e.nShapeType = INT_MIN; }},
    {"AngleIntMax", [](Element& e) { e.nEscapement = INT_MAX; }},
    {"AngleIntMin", [](Element& e) { e.nEscapement = INT_MIN; }},
    {"AngleOdd", [](Element& e) { e.nEscapement = 451; }},
    {"AngleNegativeQuarter", [](Element& e) { e.nEscapement = -900; }},
    {"TurnedAndHuge", [](Element& e) { e.nEscapement = 900, e.nWidth = INT_MAX, e.nHeight = INT_MIN; }},
    {"ContentWithoutNul", [](Element& e) { Fill(e.str, "A"); }},
    {"DigitsWithoutNul",
     [](Element& e) { Fill(e.str, "9"), e.nSerialMode = kSerialIncrement, e.nSerialStep = INT_MAX; }},
    {"FaceNameWithoutNul", [](Element& e) { Fill(e.lfFont.lfFaceName, "X"); }},
    {"Gb18030Truncated",
     [](Element& e) {
         Fill(e.str, std::string("AB\x81\x30\x81", 6)), Fill(e.lfFont.lfFaceName, {"\x81", 2});
     }},
    {"Gb18030Invalid", [](Element& e) { Fill(e.str, std::string("\xFF\xFE\x80\x81\x7F\xA1", 7)); }},
    {"Gb18030LeadByteAtEnd", [](Element& e) { Fill(e.str, "\x81"); }},
    {"LineEndsFarAway", [](Element& e) { e.nEndX = e.nOrgEndY = INT_MAX, e.nEndY = e.nOrgEndX = INT_MIN; }},
    {"TriangleApexFarAway",
     [](Element& e) { e.nShapeType = kShapeTriangle, e.nEndX = INT_MIN, e.nEscapement = 2700; }},
    {"MinBarAndImageSizes",
     [](Element& e) { e.nMinBarHeight = e.nImageHeight = INT_MAX, e.nImageWidth = INT_MIN; }},
    {"SerialFieldsOutOfRange",
     [](Element& e) {
         Fill(e.str, std::string("X99999999999999999999", 22)), e.nSerialMode = 7, e.nSerialStep = INT_MIN,
                                                                e.nSerialResetAt = INT_MIN,
                                                                e.nSerialResetTo = INT_MAX;
     }},
    {"StaleSymbolHandleAndGrips",
     [](Element& e) {
         e.hImage = 0xFFFFFFFFu, e.nSize = INT_MAX;
         std::fill(std::begin(e.ptGrip), std::end(e.ptGrip), GripPoint{INT_MIN, INT_MAX});
     }},
};

class HostileRecordTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileRecordTest, OpensDrawsAndPrintsEveryKind) {
    std::vector<Element> elements = EveryKind();
    for (Element& element : elements) {
        GetParam().second(element);
    }
    TempDir folder;
    const test::OutputResult result = test::OpenDrawAndPrint(folder.Path(), elements);
    ASSERT_EQ(result.openError, "");
    EXPECT_TRUE(result.pdfWritten);
    ASSERT_EQ(result.after.size(), elements.size());
    // The fields no drawing derives anything into stay as the file had them.
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE("element " + std::to_string(i));
        const Element& before = elements[i];
        const Element& after = result.after[i];
        if (before.nSerialMode == kSerialNone) {
            EXPECT_EQ(0, std::memcmp(before.str, after.str, sizeof before.str));
        }
        EXPECT_EQ(before.nKind, after.nKind);
        for (const auto field : {&Element::nPosX, &Element::nPosY, &Element::nPenWidth, &Element::nCornerSize,
                                 &Element::nEscapement, &Element::nSymbology, &Element::nShapeType,
                                 &Element::nEndX, &Element::nEndY, &Element::nMinBarHeight}) {
            EXPECT_EQ(before.*field, after.*field);
        }
        if (before.nKind != ElementKind::Text) {  // a never-sized text takes its measured size
            EXPECT_EQ(before.nWidth, after.nWidth);
            EXPECT_EQ(before.nHeight, after.nHeight);
        }
        EXPECT_EQ(0, std::memcmp(before.lfFont.lfFaceName, after.lfFont.lfFaceName,
                                 sizeof before.lfFont.lfFaceName));
    }
}

INSTANTIATE_TEST_SUITE_P(Records, HostileRecordTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.first; });

}  // namespace
}  // namespace etiqo
