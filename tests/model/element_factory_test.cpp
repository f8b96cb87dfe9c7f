#include "model/ElementFactory.h"

#include <gtest/gtest.h>

#include "model/TextCodec.h"

namespace etiqo {
namespace {

// Every byte a kind does not set must stay zero: compare against a record built from zero.
void ExpectOnlyTheseFields(const Element& actual, Element expected) {
    EXPECT_EQ(std::memcmp(&actual, &expected, kElementSize), 0);
}

Element Base(ElementKind kind, int x, int y, int w, int h) {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nPosX = e.nOrgPosX = x;
    e.nPosY = e.nOrgPosY = y;
    e.nWidth = e.nOrgWidth = w;
    e.nHeight = e.nOrgHeight = h;
    e.bSelected = 1;
    e.nSize = -1;
    return e;
}

TEST(ElementFactory, TextDefaults) {
    Element expected = Base(ElementKind::Text, 10, 20, 0, 0);
    expected.lfFont.lfHeight = 20;
    expected.lfFont.lfWeight = 400;
    std::memcpy(expected.lfFont.lfFaceName, "\xCB\xCE\xCC\xE5", 4);
    std::memcpy(expected.str, "\xA1\xBE\xCB\xAB", 4);  // 【双
    const Element e = MakeTextElement(10, 20, "【双");
    ExpectOnlyTheseFields(e, expected);
    EXPECT_EQ(FaceNameUtf8(e.lfFont), "宋体");
}

TEST(ElementFactory, BarcodeAnd2DDefaults) {
    Element barcode = Base(ElementKind::Barcode, 1, 2, 300, 80);
    barcode.lfFont.lfHeight = 20;
    barcode.lfFont.lfWeight = 800;
    std::memcpy(barcode.lfFont.lfFaceName, kDefaultFaceName, 4);
    barcode.nSymbology = 20;
    barcode.nMinBarHeight = 15;
    barcode.bShowText = 1;
    std::memcpy(barcode.str, "0123456789", 10);
    ExpectOnlyTheseFields(MakeBarcodeElement(1, 2, "0123456789"), barcode);

    Element code = Base(ElementKind::Code2D, 3, 4, 100, 100);
    code.nImageWidth = code.nImageHeight = 100;
    code.lfFont.lfHeight = 14;
    code.lfFont.lfWeight = 400;
    std::memcpy(code.lfFont.lfFaceName, kDefaultFaceName, 4);
    code.nSymbology = 58;
    std::memcpy(code.str, "0123456789", 10);
    ExpectOnlyTheseFields(Make2DElement(3, 4, "0123456789"), code);
}

TEST(ElementFactory, PictureKeepsTheImageAspect) {
    const auto picture = MakePictureElement(5, 6, "/pics/logo.bmp", 640, 480);
    ASSERT_TRUE(picture);
    Element expected = Base(ElementKind::Picture, 5, 6, 100, 75);
    expected.nImageWidth = 640;
    expected.nImageHeight = 480;
    std::memcpy(expected.str, "/pics/logo.bmp", 14);
    ExpectOnlyTheseFields(*picture, expected);

    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 3, 1)->nHeight, 33);  // integer division
    EXPECT_FALSE(MakePictureElement(0, 0, "a.bmp", 0, 10));
    EXPECT_FALSE(
        MakePictureElement(0, 0, "/" + std::string(255, 'p'), 10, 10));  // a cut path names another file
    EXPECT_TRUE(MakePictureElement(0, 0, "/" + std::string(254, 'p'), 10, 10));
    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 1, INT32_MAX)->nHeight, INT32_MAX);
}

TEST(ElementFactory, LineAndShapeArmTheirGrip) {
    Element line = Base(ElementKind::Line, 100, 50, 0, 0);
    line.nSize = 1;
    line.nEndX = 187;  // trunc(100 × 1.875)
    line.nEndY = 25;
    line.nPenWidth = 4;
    ExpectOnlyTheseFields(MakeLineElement(100, 50, DisplayScale{1.875, 0.5}), line);

    Element shape = Base(ElementKind::Shape, 7, 8, 0, 0);
    shape.nSize = 7;
    shape.nEndX = 7;
    shape.nEndY = 8;
    shape.nPenWidth = 4;
    ExpectOnlyTheseFields(MakeShapeElement(7, 8), shape);
}

TEST(ElementFactory, LongContentIsCutAtACharacter) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "字";
    }
    const Element e = MakeTextElement(0, 0, text);
    EXPECT_EQ(ContentBytes(e).size(), 254u);
    EXPECT_EQ(e.str[255], '\0');
}

TEST(Element, CopyDropsTheImageCacheAndNegativeAnglesWrap) {
    Element e = MakeBarcodeElement(0, 0, "1");
    e.hImage = 42;
    EXPECT_EQ(CopyElement(e).hImage, 0u);
    EXPECT_EQ(NormalisedAngle(-900), 2700);
    EXPECT_EQ(NormalisedAngle(900), 900);
}

}  // namespace
}  // namespace etiqo
