#pragma once
// What a label file holds, as read: the unit a label adopts when it is opened.

#include <memory>
#include <string>
#include <vector>

#include "model/Element.h"

namespace etiqo {

using ElementPtr = std::unique_ptr<Element>;
using ElementList = std::vector<ElementPtr>;  // list order is drawing order

enum class LabelLayout {
    Current,  // 84-byte header: size text and printer name
    Older,    // 20-byte header: size text only
};

struct LabelFileContents {
    int widthMM = 0;
    int heightMM = 0;
    std::string printerName;  // UTF-8
    LabelLayout layout = LabelLayout::Current;
    ElementList elements;  // hImage 0 in every record
};

}  // namespace etiqo
