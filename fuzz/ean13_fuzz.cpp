// Any content given to the EAN-13 encoder: either nullopt or 13 digits that start with the content
// (12 digits get their check digit) and 95 modules of '0' and '1'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/Ean13.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const auto code = etiqo::Ean13Code::Encode(content);
    if (!code) {
        return 0;
    }
    const std::string_view digits = code->m_strDigits;
    const bool checked = content.size() == 13 || etiqo::Ean13CheckDigit(content) == digits[12];
    if (digits.size() != 13 || !digits.starts_with(content) || !checked || code->m_strModules.size() != 95 ||
        code->m_strModules.find_first_not_of("01") != std::string::npos) {
        std::abort();
    }
    return 0;
}
