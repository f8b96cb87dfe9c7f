#pragma once
// Serial numbers: the run of decimal digits at the end of a text or barcode content counts
// from label to label. The counter keeps its width and wraps; characters before it never change.

#include "model/Element.h"

namespace etiqo {

class Label;

// Steps the element's trailing digits once by its mode (a positive nSerialStep is the step).
// Returns true when the caller should repaint (the element is serialized), as the canvas shows
// the value the next label will carry.
bool AdvanceSerial(Element& element);

bool HasSerializedElement(const Label& label);

}  // namespace etiqo
