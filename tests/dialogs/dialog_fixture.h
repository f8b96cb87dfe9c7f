#pragma once
// Shared set-up of the dialog tests: sample elements as the canvas creates them, and the
// interface language put back after each test.

#include <gtest/gtest.h>

#include <cstring>

#include "model/Element.h"
#include "res/Texts.h"

namespace etiqo::test {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetChineseInterface(false); }
    void TearDown() override { SetChineseInterface(false); }
};

inline void SetContent(Element& e, const char* utf8OrAscii) {
    std::memset(e.str, 0, sizeof e.str);
    std::strncpy(e.str, utf8OrAscii, sizeof e.str - 1);
}

inline Element NewBarcode() {
    Element e = ZeroElement();
    e.nKind = ElementKind::Barcode;
    e.nWidth = 300;
    e.nHeight = 80;
    e.nSymbology = kSymbologyCode128;
    e.nMinBarHeight = 15;
    e.bShowText = 1;
    e.nSize = kNoGrip;
    e.hImage = 7;  // a cached symbol: the dialogs must leave it to the canvas
    SetContent(e, "0123456789");
    return e;
}

inline Element New2DCode() {
    Element e = ZeroElement();
    e.nKind = ElementKind::Code2D;
    e.nWidth = e.nHeight = 100;
    e.nImageWidth = e.nImageHeight = 100;
    e.nSymbology = kSymbologyQrCode;
    e.nSize = kNoGrip;
    e.hImage = 9;
    SetContent(e, "0123456789");
    return e;
}

inline Element NewText(const char* content) {
    Element e = ZeroElement();
    e.nKind = ElementKind::Text;
    e.nSize = kNoGrip;
    SetContent(e, content);
    return e;
}

inline Element NewPicture(int imageWidth, int imageHeight, int width) {
    Element e = ZeroElement();
    e.nKind = ElementKind::Picture;
    e.nImageWidth = imageWidth;
    e.nImageHeight = imageHeight;
    e.nWidth = width;
    e.nHeight = imageWidth != 0 ? width * imageHeight / imageWidth : width;
    e.nSize = kNoGrip;
    SetContent(e, "/tmp/picture.png");
    return e;
}

inline Element NewShape() {
    Element e = ZeroElement();
    e.nKind = ElementKind::Shape;
    e.nWidth = 200;
    e.nHeight = 120;
    e.nEndX = 40;
    e.nEndY = 50;
    e.nPenWidth = 4;
    e.nSize = kNoGrip;
    return e;
}

inline bool SameBytes(const Element& a, const Element& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace etiqo::test
