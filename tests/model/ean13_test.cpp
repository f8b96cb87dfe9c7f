#include "model/Ean13.h"

#include <gtest/gtest.h>

namespace etiqo {
namespace {

TEST(Ean13, TwelveDigitsGetTheirCheckDigit) {
    EXPECT_EQ(Ean13CheckDigit("123456789012"), '8');
    EXPECT_EQ(Ean13CheckDigit("400638133393"), '1');
    EXPECT_EQ(Ean13CheckDigit("000000000000"), '0');
    const auto code = Ean13Code::Encode("123456789012");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->m_strDigits, "1234567890128");
}

TEST(Ean13, ModulePatternHasItsGuards) {
    const auto code = Ean13Code::Encode("123456789012");
    ASSERT_TRUE(code);
    const std::string& m = code->m_strModules;
    ASSERT_EQ(m.size(), 95u);
    EXPECT_EQ(m.substr(0, 3), "101");
    EXPECT_EQ(m.substr(45, 5), "01010");
    EXPECT_EQ(m.substr(92), "101");
    // Leading 1 selects parity AABABB: digit 2 in L code, then 3 in L, 4 in G.
    EXPECT_EQ(m.substr(3, 7), "0010011");
    EXPECT_EQ(m.substr(10, 7), "0111101");
    EXPECT_EQ(m.substr(17, 7), "0011101");
    // The right half is R code: the check digit 8 last.
    EXPECT_EQ(m.substr(85, 7), "1001000");
}

TEST(Ean13, KnownSymbol) {
    // 4006381333931, a widely printed example; its modules as published.
    const auto code = Ean13Code::Encode("4006381333931");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->m_strModules,
              "101"
              "0001101"
              "0100111"
              "0101111"
              "0111101"
              "0001001"
              "0110011"
              "01010"
              "1000010"
              "1000010"
              "1000010"
              "1110100"
              "1000010"
              "1100110"
              "101");
}

TEST(Ean13, ThirteenDigitsAreTakenAsTheyStand) {
    const auto code = Ean13Code::Encode("1234567890120");  // wrong check digit, drawn as given
    ASSERT_TRUE(code);
    EXPECT_EQ(code->m_strDigits, "1234567890120");
}

TEST(Ean13, OtherContentsCannotBeEncoded) {
    const char* bad[] = {"",
                         "12345678901",
                         "12345678901234",
                         "12345678901a",
                         "123456789012X",
                         " 123456789012",
                         "１２３４５６７８９０１２"};
    for (const char* content : bad) {
        EXPECT_FALSE(Ean13Code::Encode(content)) << content;
    }
}

}  // namespace
}  // namespace etiqo
