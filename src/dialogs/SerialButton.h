#pragma once
// The Serialize button of the text and barcode dialogs.

#include "model/Element.h"

class QPushButton;
class QWidget;

namespace etiqo {

// A "Serialize" button that opens the serialization dialog for element; on its OK the mode is
// stored into nSerialMode at once (the calling dialog may still be cancelled afterwards).
QPushButton* SerializeButton(QWidget* dialog, Element* element);

}  // namespace etiqo
