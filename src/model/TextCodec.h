#pragma once
// Text at the edges of the record: contents and face names are stored as GB18030 bytes (a superset
// of GBK that encodes all of Unicode); everything outside the record speaks UTF-8.

#include <span>
#include <string>
#include <string_view>

#include "model/Element.h"

namespace etiqo {

// Invalid or truncated input never fails: each bad byte becomes U+FFFD.
std::string Utf8FromGb18030(std::string_view gb18030);
std::string Gb18030FromUtf8(std::string_view utf8);

// What to do with a text longer than its fixed field.
enum class Overflow { Refuse, Cut };

// What happened to a text stored into a fixed field.
enum class TextFit {
    Whole,    // stored completely
    Cut,      // stored up to the last whole character that fits
    Refused,  // too long and Overflow::Refuse: the field was left as it was
};

// The length of the longest prefix of whole GB18030 characters (1, 2 or 4 bytes) within maxBytes.
std::size_t Gb18030PrefixLength(std::string_view gb18030, std::size_t maxBytes);

// Stores GB18030 bytes into a NUL-terminated field (at most field.size() - 1 bytes of text);
// the rest of the field is zero-filled.
TextFit StoreGb18030(std::span<char> field, std::string_view gb18030, Overflow overflow);

// `str`: 255 bytes of content and its NUL.
TextFit SetContent(Element& element, std::string_view utf8, Overflow overflow);
std::string ContentUtf8(const Element& element);

// lfFaceName: 31 bytes and its NUL.
TextFit SetFaceName(LOGFONTA& font, std::string_view utf8, Overflow overflow);
std::string FaceNameUtf8(const LOGFONTA& font);

}  // namespace etiqo
