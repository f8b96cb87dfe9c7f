#pragma once
// Texts of the table with their %1, %2… filled in.

#include <initializer_list>
#include <string>
#include <string_view>

#include "res/Texts.h"

namespace etiqo {

// Replaces %1 … %9 in the text of id (in the interface language) with the arguments in order.
std::string TrFormat(TextId id, std::initializer_list<std::string_view> arguments);

}  // namespace etiqo
