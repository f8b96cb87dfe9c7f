// The EAN-13 encoder's contract; that the modules it makes read back as the content is checked
// by decoding the drawn symbol (render_tests, SymbolDecode row OwnEan13).
#include "model/Ean13.h"

#include <gtest/gtest.h>

namespace etiqo {
namespace {

TEST(Ean13, ContentsAndTheDigitsDrawn) {
    const struct {
        const char* content;
        const char* digits;  // nullptr: refused
    } rows[] = {
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
