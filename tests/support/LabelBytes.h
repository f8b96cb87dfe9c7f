#pragma once
// Label file blocks as another program (or an older one) writes them: text in a fixed width, records.
#include <string>
#include <string_view>

#include "model/Element.h"

namespace etiqo {

inline std::string Field(std::string_view text, std::size_t width) {
    std::string field(text.substr(0, width));
    field.resize(width, '\0');
    return field;
}
inline std::string Record(const Element& e) {
    return std::string(reinterpret_cast<const char*>(&e), kElementSize);
}

}  // namespace etiqo
