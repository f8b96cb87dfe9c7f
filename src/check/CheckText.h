#pragma once
// The scan check in words, in the interface language: for the canvas, the preview, the print
// question and the command line.

#include <QString>

#include <string>
#include <vector>

#include "check/LabelChecker.h"

namespace etiqo {

// The symbology's name as the dialogs list it ("CODE_128"), or its number.
std::string SymbologyName(const ElementCheck& check);

// Why the element fails ("does not read; uneven bars …"), or how it stands when it does not.
QString CheckReason(const ElementCheck& check);

// "element 3 (CODE_128): does not read", one for each failing element of the page; elements are
// counted from 0, as in every other message naming one.
std::vector<QString> FailureLines(const PageCheck& page);

}  // namespace etiqo
