// The factories fill a new record of each kind as the file format expects it: every byte a kind
// does not set stays zero.
#include "model/ElementFactory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace etiqo {
namespace {

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

Element WithFont(Element e, int height, int weight, const char* face) {
    e.lfFont.lfHeight = height;
    e.lfFont.lfWeight = weight;
    std::memcpy(e.lfFont.lfFaceName, face, std::strlen(face));
    return e;
}

TEST(ElementFactory, EachKindSetsItsFieldsAndNothingElse) {
    Element text = WithFont(Base(ElementKind::Text, 10, 20, 0, 0), 20, 400, "\xCB\xCE\xCC\xE5");  // 宋体
    std::memcpy(text.str, "\xA1\xBE\xCB\xAB", 4);                                                 // 【双
    Element barcode = WithFont(Base(ElementKind::Barcode, 1, 2, 300, 80), 20, 800, kDefaultFaceName);
    barcode.nSymbology = 20;
    barcode.nMinBarHeight = 15;
    barcode.bShowText = 1;
    std::memcpy(barcode.str, "0123456789", 10);
    Element code = WithFont(Base(ElementKind::Code2D, 3, 4, 100, 100), 14, 400, kDefaultFaceName);
    code.nImageWidth = code.nImageHeight = 100;
    code.nSymbology = 58;
    std::memcpy(code.str, "0123456789", 10);
    Element picture = Base(ElementKind::Picture, 5, 6, 100, 75);  // the image's aspect
    picture.nImageWidth = 640;
    picture.nImageHeight = 480;
    std::memcpy(picture.str, "/pics/logo.bmp", 14);
    Element line = Base(ElementKind::Line, 100, 50, 0, 0);
    line.nSize = 1;    // the end grip, armed
    line.nEndX = 187;  // trunc(100 × 1.875)
    line.nEndY = 25;
    line.nPenWidth = 4;
    Element shape = Base(ElementKind::Shape, 7, 8, 0, 0);
    shape.nSize = 7;
    shape.nEndX = 7;
    shape.nEndY = 8;
    shape.nPenWidth = 4;
    const struct {
        const char* name;
        Element made;
        const Element& expected;
    } rows[] = {
        {"text", MakeTextElement(10, 20, "【双"), text},
        {"barcode", MakeBarcodeElement(1, 2, "0123456789"), barcode},
        {"2D symbol", Make2DElement(3, 4, "0123456789"), code},
        {"picture", *MakePictureElement(5, 6, "/pics/logo.bmp", 640, 480), picture},
        {"line", MakeLineElement(100, 50, DisplayScale{1.875, 0.5}), line},
        {"shape", MakeShapeElement(7, 8), shape},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(std::memcmp(&row.made, &row.expected, kElementSize), 0);
    }
}

TEST(ElementFactory, PicturesAndLongContentsAtTheLimits) {
    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 3, 1)->nHeight, 33);  // integer division
    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 1, INT32_MAX)->nHeight, INT32_MAX);
    EXPECT_FALSE(MakePictureElement(0, 0, "a.bmp", 0, 10));
    EXPECT_FALSE(
        MakePictureElement(0, 0, "/" + std::string(255, 'p'), 10, 10));  // a cut path names another file
    EXPECT_TRUE(MakePictureElement(0, 0, "/" + std::string(254, 'p'), 10, 10));

    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "字";
    }
    const Element e = MakeTextElement(0, 0, text);
    EXPECT_EQ(ContentBytes(e).size(), 254u) << "cut at a character";
    EXPECT_EQ(e.str[255], '\0');
}

}  // namespace
}  // namespace etiqo
