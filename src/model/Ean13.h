#pragma once
// Our own EAN-13 encoder: content → 13 digits and the 95-module bar pattern.

#include <optional>
#include <string>
#include <string_view>

namespace etiqo {

class Ean13Code {
public:
    // 12 digits get their check digit appended; 13 digits are used as they stand.
    // Anything else (other lengths, non-digits) cannot be encoded: nullopt.
    static std::optional<Ean13Code> Encode(std::string_view content);

    std::string m_strDigits;   // 13 digits, check digit included
    std::string m_strModules;  // 95 characters of '1' (dark) and '0' (light)
};

// The check digit of twelve digits, as a character.
char Ean13CheckDigit(std::string_view twelveDigits);

}  // namespace etiqo
