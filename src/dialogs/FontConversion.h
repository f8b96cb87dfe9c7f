#pragma once
// The Text Attributes font dialog works on an element's LOGFONTA. These map it to a QFont to show
// and take back what the user chose.

#include <QFont>

#include "model/Element.h"

namespace etiqo {

QFont FontFromLogFont(const LOGFONTA& font);

// Face, weight, italic, underline and strikeout replace the element's. The height stays: a text is
// drawn at the size of its box, not at the size picked in the dialog.
void ApplyFontChoice(const QFont& chosen, LOGFONTA& font);

}  // namespace etiqo
