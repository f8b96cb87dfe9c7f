// The 508-byte record: the factories at their limits, its text fields in GB18030 within their bytes,
// and what its content becomes when counted (serial numbers) or encoded (the EAN-13 digits; that
// the modules read back as the content is checked by decoding the drawn symbol in check_tests).
#include <gtest/gtest.h>

#include <cstring>

#include "TempDir.h"
#include "model/Ean13.h"
#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/Serial.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

std::string Repeat(const std::string& part, int times) {
    std::string whole;
    while (times-- > 0) {
        whole += part;
    }
    return whole;
}

TEST(ElementFactory, PicturesAndLongContentsAtTheLimits) {
    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 3, 1)->nHeight, 33);  // integer division
    EXPECT_EQ(MakePictureElement(0, 0, "a.bmp", 1, INT32_MAX)->nHeight, INT32_MAX);
    EXPECT_FALSE(MakePictureElement(0, 0, "a.bmp", 0, 10));
    EXPECT_FALSE(
        MakePictureElement(0, 0, "/" + std::string(255, 'p'), 10, 10));  // a cut path names another file
    EXPECT_TRUE(MakePictureElement(0, 0, "/" + std::string(254, 'p'), 10, 10));
    EXPECT_EQ(ContentUtf8(MakeTextElement(0, 0, Repeat("字", 200))), Repeat("字", 127))
        << "cut at a character";
}

TEST(TextCodec, ConvertsBothWaysAndReplacesInvalidBytes) {
    for (const std::string text : {"", "ABC 123", "中文标签：品名", "Grüße €", "emoji 😀 𠀀"}) {
        EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8(text)), text);
    }
    EXPECT_EQ(Gb18030FromUtf8("宋体"), "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(Gb18030FromUtf8("😀").size(), 4u);
    EXPECT_EQ(Utf8FromGb18030("A\xFF\x42"), "A\uFFFD\x42");
    EXPECT_EQ(Utf8FromGb18030("A\x81"), "A\uFFFD");        // a lead byte cut off at the end
    EXPECT_EQ(Utf8FromGb18030("\x81\x30\x81"), "\uFFFD");  // an incomplete four-byte sequence
    EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8("A\xC3(B")), "A\uFFFD(B");
    EXPECT_EQ(Utf8FromGb18030(Gb18030FromUtf8("\xED\xA0\x80")).find("\uFFFD"), 0u);
}

// The content (255 bytes) and the face name (31) start full of 'y': a text stored leaves no stale
// byte after it and nothing past the field; one refused leaves the field as it was.
TEST(TextCodec, FieldsRefuseOrCutAtACharacter) {
    const std::string longText = Repeat("汉", 127) + "😀";  // 258 bytes: the emoji would cross byte 255
    // clang-format off
    const struct { const char* name; bool face; std::string text; Overflow overflow; TextFit fit; std::string kept; } rows[] = {
        {"255 bytes", false, std::string(255, 'x'), Overflow::Refuse, TextFit::Whole, std::string(255, 'x')},
        {"short", false, "short", Overflow::Refuse, TextFit::Whole, "short"},
        {"too long, refused", false, longText, Overflow::Refuse, TextFit::Refused, std::string(255, 'y')},
        {"cut before the emoji", false, longText, Overflow::Cut, TextFit::Cut, Repeat("汉", 127)},
        {"cut after one ASCII and 127 hanzi", false, "x" + longText, Overflow::Cut, TextFit::Cut, "x" + Repeat("汉", 127)},
        {"face", true, "Noto Sans CJK SC", Overflow::Refuse, TextFit::Whole, "Noto Sans CJK SC"},
        {"face too long, refused", true, std::string(32, 'F'), Overflow::Refuse, TextFit::Refused, std::string(31, 'y')},
        {"face cut at 31 bytes", true, "a" + Repeat("汉", 16), Overflow::Cut, TextFit::Cut, "a" + Repeat("汉", 15)},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Element e = ZeroElement();
        std::memset(e.str, 'y', 255);
        std::memset(e.lfFont.lfFaceName, 'y', 31);
        EXPECT_EQ(
            row.face ? SetFaceName(e.lfFont, row.text, row.overflow) : SetContent(e, row.text, row.overflow),
            row.fit);
        EXPECT_EQ(row.face ? FaceNameUtf8(e.lfFont) : ContentUtf8(e), row.kept);
        const std::string field = row.face ? std::string(e.lfFont.lfFaceName, 32) : std::string(e.str, 256);
        EXPECT_EQ(field.find_first_not_of('\0', std::strlen(field.c_str())), std::string::npos);
        EXPECT_EQ(e.bSelected, 0);
    }
}

TEST(Serial, SteppingTable) {
    // clang-format off
    const struct { const char* before; int mode, step; const char* after; bool repaint; } rows[] = {
        {"0009", kSerialIncrement, 1, "0010", true},
        {"99", kSerialIncrement, 1, "00", true},
        {"AB99", kSerialIncrement, 1, "AB00", true},
        {"X-9Z", kSerialIncrement, 1, "X-9Z", false},
        {"0010", kSerialDecrement, 1, "0009", true},
        {"100", kSerialDecrement, 1, "099", true},
        {"000", kSerialDecrement, 1, "999", true},
        {"A0", kSerialDecrement, 1, "A9", true},
        {"9A9", kSerialIncrement, 1, "9A0", true},  // the carry stops at the first non-digit
        {"", kSerialIncrement, 1, "", false},
        {"123", kSerialNone, 1, "123", false},
        {"123", 7, 1, "123", true},  // an unknown mode changes nothing, yet the element is serialized
        // Steps 0 and below count as 1.
        {"0009", kSerialIncrement, 0, "0010", true},
        {"0009", kSerialIncrement, -5, "0010", true},
        // Larger steps keep the width and wrap.
        {"0009", kSerialIncrement, 5, "0014", true},
        {"A095", kSerialIncrement, 10, "A105", true},
        {"98", kSerialIncrement, 5, "03", true},
        {"001", kSerialIncrement, 1000, "001", true},
        {"001", kSerialIncrement, 2147483647, "648", true},
        {"0014", kSerialDecrement, 5, "0009", true},
        {"03", kSerialDecrement, 5, "98", true},
        {"B5", kSerialDecrement, 25, "B0", true},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.before << " mode " << row.mode << " step " << row.step);
        Element e = MakeTextElement(0, 0, row.before);
        e.nSerialMode = row.mode;
        e.nSerialStep = row.step;
        e.nSerialResetAt = 3;  // stored only
        EXPECT_EQ(AdvanceSerial(e), row.repaint);
        EXPECT_EQ(ContentUtf8(e), row.after);
        EXPECT_EQ(e.nSerialResetAt, 3);
    }
}

TEST(Serial, AWholeFieldStaysInsideAndTheLabelKnowsItCounts) {
    Element e = ZeroElement();
    std::memset(e.str, '9', sizeof e.str);  // no NUL at all
    e.nSerialMode = kSerialIncrement;
    EXPECT_TRUE(AdvanceSerial(e));
    EXPECT_EQ(std::string(e.str, 256), std::string(256, '0'));
    EXPECT_EQ(e.bSelected, 0);

    testing::TempDir dir;
    Label label{SnapshotStore(dir.Path())};
    label.Append(MakeTextElement(0, 0, "1"));
    EXPECT_FALSE(HasSerializedElement(label));
    label.Append(e);
    EXPECT_TRUE(HasSerializedElement(label));
}

TEST(Ean13, ContentsAndTheDigitsDrawn) {
    // clang-format off
    const struct { const char* content; const char* digits; } rows[] = {  // digits nullptr: refused
        {"123456789012", "1234567890128"},  // twelve digits get their check digit
        {"400638133393", "4006381333931"},
        {"000000000000", "0000000000000"},
        {"1234567890120", "1234567890120"},  // thirteen are drawn as they stand, wrong check digit too
        {"", nullptr},
        {"12345678901", nullptr},
        {"12345678901234", nullptr},
        {"12345678901a", nullptr},
        {"123456789012X", nullptr},
        {" 123456789012", nullptr},
        {"１２３４５６７８９０１２", nullptr},  // full-width digits
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.content);
        const auto code = Ean13Code::Encode(row.content);
        ASSERT_EQ(static_cast<bool>(code), row.digits != nullptr);
        if (code) {
            EXPECT_EQ(code->m_strDigits, row.digits);
            EXPECT_EQ(code->m_strModules.size(), 95u);
        }
    }
}

}  // namespace
}  // namespace etiqo
