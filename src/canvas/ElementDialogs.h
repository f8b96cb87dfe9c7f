#pragma once
// The property dialogs as the canvas sees them: one small interface, so the canvas builds and
// is tested without the real dialogs (tests pass a fake).

#include <optional>
#include <string>
#include <vector>

#include "model/Element.h"
#include "model/Geometry.h"

class QWidget;

namespace etiqo {

class ElementDialogs {
public:
    virtual ~ElementDialogs() = default;

    // Each Edit call shows its dialog modally and, on OK, writes the element (millimetre to dot
    // conversions included) and returns true. They never touch hImage: the canvas releases the
    // cached symbol, repaints and takes the undo snapshot where that is due.
    virtual bool EditText(QWidget* parent, Element& element) = 0;
    virtual bool EditBarcode(QWidget* parent, Element& element, int dpiX, int dpiY) = 0;
    virtual bool Edit2DCode(QWidget* parent, Element& element, int dpiX) = 0;
    virtual bool EditPictureSize(QWidget* parent, Element& element, int dpiX, int dpiY) = 0;
    virtual bool EditShape(QWidget* parent, Element& element) = 0;
    // Text Attributes: the font dialog on the element's lfFont.
    virtual bool EditFont(QWidget* parent, LOGFONTA& font) = 0;

    // New label size in millimetres, nullopt on Cancel.
    virtual std::optional<PixelSize> AskNewLabelSize(QWidget* parent) = 0;
    // Label files chosen for batch printing (UTF-8 paths, in list order); empty on Cancel.
    virtual std::vector<std::string> ChooseBatchFiles(QWidget* parent) = 0;
};

}  // namespace etiqo
