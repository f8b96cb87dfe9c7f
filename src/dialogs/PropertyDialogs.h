#pragma once
// The real dialogs behind the canvas's ElementDialogs: each Edit call shows its dialog modally
// and on OK writes the element the way the canvas expects (millimetres to dots and back with the
// editor's rounding, content into str). The symbol cache, the repaint and the undo snapshot
// stay with the canvas.

#include "canvas/ElementDialogs.h"

namespace etiqo {

class PropertyDialogs : public ElementDialogs {
public:
    bool EditText(QWidget* parent, Element& element) override;
    bool EditBarcode(QWidget* parent, Element& element, int dpiX, int dpiY) override;
    bool Edit2DCode(QWidget* parent, Element& element, int dpiX) override;
    bool EditPictureSize(QWidget* parent, Element& element, int dpiX, int dpiY) override;
    bool EditShape(QWidget* parent, Element& element) override;
    bool EditFont(QWidget* parent, LOGFONTA& font) override;
    std::optional<PixelSize> AskNewLabelSize(QWidget* parent) override;
    std::vector<std::string> ChooseBatchFiles(QWidget* parent) override;
};

}  // namespace etiqo
