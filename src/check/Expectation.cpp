#include "check/Expectation.h"

#include <QString>

#include <algorithm>
#include <cctype>

#include "model/TextCodec.h"

namespace etiqo {

namespace {

// zint's symbology numbers, as the dialogs store them.
enum Symbology : int {
    kCode39 = 8,
    kExtendedCode39 = 9,
    kEanX = 13,
    kGs1128 = 16,
    kCodabar = 18,
    kCode128 = 20,
    kCode93 = 25,
    kUpcA = 34,
    kUpcE = 37,
    kPdf417 = 55,
    kPdf417Truncated = 56,
    kMaxiCode = 57,
    kQrCode = 58,
    kCode128B = 60,
    kDataMatrix = 71,
    kEan14 = 72,
    kItf14 = 89,
    kCode32 = 129,
};

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ZeroPadded(const std::string& digits, std::size_t width) {
    return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

// Record bytes of a linear code read back one byte a character (Latin-1), as decoders report them.
std::string Latin1ToUtf8(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8().toStdString();
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// UPC-E as read: number system, six digits, and the check digit of the UPC-A it stands for.
std::optional<std::string> UpcEReading(const std::string& content) {
    if (!AllDigits(content) || content.size() < 6 || content.size() > 8) {
        return std::nullopt;
    }
    if (content.size() == 8) {
        return content;
    }
    const std::string full = content.size() == 6 ? "0" + content : content;
    const std::string d = full.substr(1, 6);
    std::string upcA = full.substr(0, 1);
    switch (d[5]) {
        case '0':
        case '1':
        case '2':
            upcA += d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
            break;
        case '3':
            upcA += d.substr(0, 3) + "00000" + d.substr(3, 2);
            break;
        case '4':
            upcA += d.substr(0, 4) + "00000" + d[4];
            break;
        default:
            upcA += d.substr(0, 5) + "0000" + d[5];
            break;
    }
    return full + Gs1CheckDigit(upcA);
}

// Code 32 (Italian pharmacode): eight digits and a check digit as a base-32 number of six Code 39
// characters.
std::optional<std::string> Code32Reading(const std::string& content) {
    if (!AllDigits(content) || content.size() > 8) {
        return std::nullopt;
    }
    const std::string digits = ZeroPadded(content, 8);
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        int value = digits[i] - '0';
        if (i % 2 == 1) {
            value *= 2;
            value = value / 10 + value % 10;
        }
        sum += value;
    }
    long long number = std::stoll(digits + static_cast<char>('0' + sum % 10));
    static constexpr char kAlphabet[] = "0123456789BCDFGHJKLMNPQRSTUVWXYZ";
    std::string text(6, '0');
    for (int i = 5; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kAlphabet[number % 32];
        number /= 32;
    }
    return text;
}

// A content the symbology does not take is expected as it stands: nothing, or something else, reads.
Expectation Linear(CodeFamily family, const std::optional<std::string>& text, const std::string& content,
                   int before, int after) {
    return Expectation{family, Latin1ToUtf8(text.value_or(content)), before, after};
}

}  // namespace

char Gs1CheckDigit(const std::string& digits) {
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::optional<Expectation> ExpectedReading(const Element& element) {
    const std::string content(ContentBytes(element));
    if (element.nKind == ElementKind::Code2D) {
        const std::string text = Utf8FromGb18030(content);
        switch (element.nSymbology) {
            case kQrCode:
                return Expectation{CodeFamily::QrCode, text, 4, 4};
            case kPdf417:
            case kPdf417Truncated:
                return Expectation{CodeFamily::Pdf417, text, 2, 2};
            case kDataMatrix:
                return Expectation{CodeFamily::DataMatrix, text, 1, 1};
            case kMaxiCode:
                return Expectation{CodeFamily::MaxiCode, text, 1, 1};
            default:  // Grid Matrix, MicroPDF417: no decoder here reads them
                return std::nullopt;
        }
    }
    if (element.nKind != ElementKind::Barcode) {
        return std::nullopt;
    }
    // Linear codes need ten modules of white at each end; EAN, UPC and ITF-14 images carry theirs.
    constexpr int kQuiet = 10;
    const bool digits = AllDigits(content);
    const auto linear = [&content](CodeFamily family, const std::optional<std::string>& text, int before,
                                   int after) { return Linear(family, text, content, before, after); };
    // GS1 forms: zero padded to a width, the check digit added.
    const auto gs1 = [&](std::size_t width) -> std::optional<std::string> {
        if (!digits || content.size() > width) {
            return std::nullopt;
        }
        const std::string padded = ZeroPadded(content, width);
        return padded + Gs1CheckDigit(padded);
    };
    switch (element.nSymbology) {
        case kCode128:
        case kCode128B:
            return linear(CodeFamily::Code128, content, kQuiet, kQuiet);
        case kGs1128: {
            // The AI brackets are syntax only; variable fields end in a separator the checker ignores.
            std::string text;
            std::copy_if(content.begin(), content.end(), std::back_inserter(text),
                         [](char c) { return c != '[' && c != ']'; });
            return linear(CodeFamily::Code128, text, kQuiet, kQuiet);
        }
        case kEan14: {
            const std::optional<std::string> gtin = gs1(13);
            return linear(CodeFamily::Code128, gtin ? std::optional("01" + *gtin) : std::nullopt, kQuiet,
                          kQuiet);
        }
        case kCode39:
            return linear(CodeFamily::Code39, Upper(content), kQuiet, kQuiet);
        case kExtendedCode39:
            return linear(CodeFamily::Code39Extended, content, kQuiet, kQuiet);
        case kCode32:
            return linear(CodeFamily::Code39, Code32Reading(content), kQuiet, kQuiet);
        case kCode93:
            return linear(CodeFamily::Code93, content, kQuiet, kQuiet);
        case kCodabar:
            // Decoders leave out the start and stop characters.
            return linear(CodeFamily::Codabar,
                          content.size() < 3 ? std::nullopt
                                             : std::optional(Upper(content.substr(1, content.size() - 2))),
                          kQuiet, kQuiet);
        case kEanX:
            // Up to seven digits make an EAN-8, more an EAN-13; thirteen carry their own check digit.
            if (digits && content.size() == 13) {
                return linear(CodeFamily::Ean8Or13, content, 0, 0);
            }
            return linear(CodeFamily::Ean8Or13, content.size() <= 7 ? gs1(7) : gs1(12), 0, 0);
        case kSymbologyOwnEan13:
            // The painter leaves seven modules for the first digit on the left, none on the right.
            return linear(CodeFamily::Ean13, digits && content.size() == 13 ? content : gs1(12), 0, 7);
        case kUpcA:
            return linear(CodeFamily::UpcA, digits && content.size() == 12 ? content : gs1(11), 0, 0);
        case kUpcE:
            return linear(CodeFamily::UpcE, UpcEReading(content), 0, 0);
        case kItf14:
            return linear(CodeFamily::Itf, gs1(13), 0, 0);
        default:
            return std::nullopt;
    }
}

}  // namespace etiqo
