#pragma once
// Edits one barcode element: symbology, content, size in millimetres, human-readable text.
// The dialog works in millimetres; the caller converts from and to the element's dots.

#include <QDialog>

#include "model/Element.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace etiqo {

class ContentEdit;

class CBarcodeDlg : public QDialog {
    Q_OBJECT

public:
    struct Values {
        int nShowText = 1;
        int nHeight = 0;  // millimetres
        int nWidth = 0;   // millimetres
        int nSymbology = 0;
        QString strContent;
        bool bFitToDots = false;  // the caller fits the stored width to whole dots after OK
    };

    CBarcodeDlg(Element* element, const Values& values, QWidget* parent = nullptr);

    Values m_values;  // the dialog's result after OK

    void accept() override;

private:
    Element* m_pElement;
    QComboBox* m_typeList;
    ContentEdit* m_contentEdit;
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
    QCheckBox* m_showText;
    QCheckBox* m_fitToDots;
};

}  // namespace etiqo
