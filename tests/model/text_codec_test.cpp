#include "model/TextCodec.h"

#include <gtest/gtest.h>

#include <cstring>

namespace etiqo {
namespace {

TEST(TextCodec, RoundTripsAllPlanes) {
    const std::string texts[] = {"", "ABC 123", "宋体", "中文标签：品名", "Grüße €", "emoji 😀 𠀀"};
    for (const std::string& text : texts) {
        EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8(text)), text);
    }
    EXPECT_EQ(Gb18030FromUtf8("宋体"), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(Gb18030FromUtf8("😀").size(), 4u);
}

TEST(TextCodec, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf8FromGb18030("A\xFF"
                              "B"),
              "A\uFFFD"
              "B");
    EXPECT_EQ(Utf8FromGb18030("A\x81"), "A\uFFFD");        // a lead byte cut off at the end
    EXPECT_EQ(Utf8FromGb18030("\x81\x30\x81"), "\uFFFD");  // an incomplete four-byte sequence
    EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8("A\xC3(B")), "A\uFFFD(B");
    EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8("\xED\xA0\x80")).find("\uFFFD"), 0u);
}

TEST(TextCodec, PrefixLengthStopsAtCharacterBoundaries) {
    const std::string mixed = Gb18030FromUtf8("a汉😀b");  // 1 + 2 + 4 + 1 bytes
    ASSERT_EQ(mixed.size(), 8u);
    const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 3, 7, 8, 8};
    for (std::size_t max = 0; max < std::size(expected); ++max) {
        EXPECT_EQ(Gb18030PrefixLength(mixed, max), expected[max]) << max;
    }
}

TEST(TextCodec, ContentFitsRefusesOrCutsWithinTheField) {
    Element e = ZeroElement();
    EXPECT_EQ(SetContent(e, std::string(255, 'x'), Overflow::Refuse), TextFit::Whole);
    EXPECT_EQ(ContentBytes(e).size(), 255u);
    EXPECT_EQ(e.str[255], '\0');

    EXPECT_EQ(SetContent(e, "short", Overflow::Refuse), TextFit::Whole);
    EXPECT_EQ(std::string(e.str, 256), std::string("short") + std::string(251, '\0'));  // no stale bytes

    // 127 two-byte characters and a four-byte one: 258 bytes.
    std::string longText;
    for (int i = 0; i < 127; ++i) {
        longText += "汉";
    }
    longText += "😀";
    EXPECT_EQ(SetContent(e, longText, Overflow::Refuse), TextFit::Refused);
    EXPECT_EQ(ContentUtf8(e), "short");  // untouched
    EXPECT_EQ(SetContent(e, longText, Overflow::Cut), TextFit::Cut);
    EXPECT_EQ(ContentBytes(e).size(), 254u);  // the emoji would cross byte 255
    EXPECT_EQ(ContentUtf8(e), longText.substr(0, 127 * 3));
    EXPECT_EQ(e.bSelected, 0);  // nothing past the field

    const std::string odd = "x" + longText;  // the cut now falls after one ASCII and 127 hanzi
    EXPECT_EQ(SetContent(e, odd, Overflow::Cut), TextFit::Cut);
    EXPECT_EQ(ContentBytes(e).size(), 255u);
}

TEST(TextCodec, FaceNameHoldsThirtyOneBytes) {
    LOGFONTA font{};
    EXPECT_EQ(SetFaceName(font, "Noto Sans CJK SC", Overflow::Refuse), TextFit::Whole);
    EXPECT_EQ(FaceNameUtf8(font), "Noto Sans CJK SC");
    EXPECT_EQ(SetFaceName(font, std::string(32, 'F'), Overflow::Refuse), TextFit::Refused);
    EXPECT_EQ(FaceNameUtf8(font), "Noto Sans CJK SC");
    EXPECT_EQ(SetFaceName(font, "a汉汉汉汉汉汉汉汉汉汉汉汉汉汉汉汉", Overflow::Cut), TextFit::Cut);
    EXPECT_EQ(FaceNameUtf8(font), "a汉汉汉汉汉汉汉汉汉汉汉汉汉汉汉");  // 1 + 15 × 2 = 31 bytes
    EXPECT_EQ(font.lfFaceName[31], '\0');
}

TEST(TextCodec, HostileFieldsWithoutNulStayInside) {
    Element e = ZeroElement();
    std::memset(e.str, 'A', sizeof e.str);
    e.bSelected = 'Z';
    EXPECT_EQ(ContentUtf8(e), std::string(256, 'A'));
    std::memset(e.lfFont.lfFaceName, 'B', 32);
    EXPECT_EQ(FaceNameUtf8(e.lfFont), std::string(32, 'B'));
}

}  // namespace
}  // namespace etiqo
