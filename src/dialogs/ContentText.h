#pragma once
// The element's content as the dialogs show it: str holds GB18030 bytes (model/TextCodec), the
// boxes hold QStrings.

#include <QString>

#include "model/Element.h"

namespace etiqo {

// Room in str for content bytes: the last of its 256 bytes is the terminating NUL.
inline constexpr int kMaxContentBytes = static_cast<int>(sizeof(Element::str)) - 1;

// Number of bytes text takes in GB18030.
int ContentByteLength(const QString& text);

QString ContentText(const Element& element);

// Stores text into str; refuses (false, str untouched) what does not fit.
bool StoreContent(Element& element, const QString& text);

}  // namespace etiqo
