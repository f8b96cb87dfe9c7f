#include "model/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace etiqo {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr std::string_view kReplacementGb18030 = "\x84\x31\xA4\x37";  // U+FFFD

// One conversion direction, opened once per thread (iconv descriptors are not shareable).
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != kInvalid) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view input, std::string_view replacement) {
        std::string out;
        if (m_cd == kInvalid) {
            return out;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        out.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t used = 0;
        while (inLeft > 0) {
            char* dst = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &dst, &outLeft);
            used = out.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                break;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ: one bad byte; EINVAL: an incomplete sequence at the end.
            if (out.size() - used < replacement.size()) {
                out.resize(out.size() + replacement.size() + 16);
            }
            std::memcpy(out.data() + used, replacement.data(), replacement.size());
            used += replacement.size();
            if (errno == EILSEQ) {
                ++in;
                --inLeft;
            } else {
                break;
            }
        }
        out.resize(used);
        return out;
    }

private:
    static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
    iconv_t m_cd;
};

std::string_view FieldText(std::span<const char> field) {
    return std::string_view(field.data(), ::strnlen(field.data(), field.size()));
}

}  // namespace

std::string Utf8FromGb18030(std::string_view gb18030) {
    thread_local Converter converter("UTF-8", "GB18030");
    return converter.Convert(gb18030, kReplacementUtf8);
}

std::string Gb18030FromUtf8(std::string_view utf8) {
    thread_local Converter converter("GB18030", "UTF-8");
    return converter.Convert(utf8, kReplacementGb18030);
}

std::size_t Gb18030PrefixLength(std::string_view text, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t width = 1;
        if (lead >= 0x81 && lead <= 0xFE && pos + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[pos + 1]);
            width = (next >= 0x30 && next <= 0x39) ? 4 : 2;
        }
        if (pos + width > maxBytes || pos + width > text.size()) {
            break;
        }
        pos += width;
    }
    return pos;
}

TextFit StoreGb18030(std::span<char> field, std::string_view text, Overflow overflow) {
    if (field.empty()) {
        return text.empty() ? TextFit::Whole : TextFit::Refused;
    }
    const std::size_t room = field.size() - 1;
    std::size_t length = text.size();
    TextFit fit = TextFit::Whole;
    if (length > room) {
        if (overflow == Overflow::Refuse) {
            return TextFit::Refused;
        }
        length = Gb18030PrefixLength(text, room);
        fit = TextFit::Cut;
    }
    std::memset(field.data(), 0, field.size());
    std::memcpy(field.data(), text.data(), length);
    return fit;
}

TextFit SetContent(Element& element, std::string_view utf8, Overflow overflow) {
    return StoreGb18030(element.str, Gb18030FromUtf8(utf8), overflow);
}

std::string ContentUtf8(const Element& element) {
    return Utf8FromGb18030(FieldText(element.str));
}

TextFit SetFaceName(LOGFONTA& font, std::string_view utf8, Overflow overflow) {
    return StoreGb18030(font.lfFaceName, Gb18030FromUtf8(utf8), overflow);
}

std::string FaceNameUtf8(const LOGFONTA& font) {
    return Utf8FromGb18030(FieldText(font.lfFaceName));
}

}  // namespace etiqo
