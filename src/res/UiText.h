#pragma once
// The table's texts as Qt strings, for every layer that shows them through Qt.

#include <QString>

#include "res/Texts.h"

namespace etiqo {

// The text of id in the interface language.
QString UiText(TextId id);

}  // namespace etiqo
