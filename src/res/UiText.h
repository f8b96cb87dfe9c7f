#pragma once
// The table's texts as Qt strings, for every layer that shows them through Qt.

#include <QString>

#include <concepts>
#include <string_view>

#include "res/Texts.h"

namespace etiqo {

// The text of id in the interface language.
QString UiText(TextId id);

namespace detail {
inline QString UiArgument(const QString& text) {
    return text;
}
inline QString UiArgument(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString UiArgument(const char* utf8) {
    return QString::fromUtf8(utf8);
}
template <std::integral Number>
QString UiArgument(Number number) {
    return QString::number(number);
}
}  // namespace detail

// The text of id with %1, %2… filled in by the arguments in order (QStrings, UTF-8 strings or
// numbers), in one pass: a %2 inside an argument stays as it is.
template <typename... Arguments>
requires(sizeof...(Arguments) >= 1) QString UiText(TextId id, const Arguments&... arguments) {
    return UiText(id).arg(detail::UiArgument(arguments)...);
}

}  // namespace etiqo
