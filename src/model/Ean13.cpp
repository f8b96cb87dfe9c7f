#include "model/Ean13.h"

#include <algorithm>
#include <array>

namespace etiqo {
namespace {

// The GS1 (ISO/IEC 15420) tables: L, G and R codes of the digits and the first-digit parities.
constexpr std::array<std::string_view, 10> kCodeL = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                                     "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<std::string_view, 10> kCodeG = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                                     "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr std::array<std::string_view, 10> kCodeR = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                                     "1001110", "1010000", "1000100", "1001000", "1110100"};
constexpr std::array<std::string_view, 10> kParity = {
    "AAAAAACCCCCC", "AABABBCCCCCC", "AABBABCCCCCC", "AABBBACCCCCC", "ABAABBCCCCCC",
    "ABBAABCCCCCC", "ABBBAACCCCCC", "ABABABCCCCCC", "ABABBACCCCCC", "ABBABACCCCCC"};

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

char Ean13CheckDigit(std::string_view twelveDigits) {
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size() && i < 12; ++i) {
        const int digit = twelveDigits[i] - '0';
        sum += (i % 2 == 0) ? digit : 3 * digit;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::optional<Ean13Code> Ean13Code::Encode(std::string_view content) {
    std::string digits(content);
    if (digits.size() == 12 && AllDigits(digits)) {
        digits += Ean13CheckDigit(digits);
    }
    if (digits.size() != 13 || !AllDigits(digits)) {
        return std::nullopt;
    }
    const std::string_view parity = kParity[digits[0] - '0'];
    std::string data;
    data.reserve(84);
    for (std::size_t i = 0; i < 12; ++i) {
        const int digit = digits[i + 1] - '0';
        switch (parity[i]) {
            case 'A':
                data += kCodeL[digit];
                break;
            case 'B':
                data += kCodeG[digit];
                break;
            default:
                data += kCodeR[digit];
                break;
        }
    }
    Ean13Code code;
    code.m_strModules = "101" + data.substr(0, 42) + "01010" + data.substr(42) + "101";
    code.m_strDigits = std::move(digits);
    return code;
}

}  // namespace etiqo
