#pragma once
// Serialization settings of a text or barcode element: the mode, and a step and reset values that
// are stored with the element. OK writes the element at once, so the values stay even when the
// dialog that opened this one is cancelled.

#include <QDialog>

#include "model/Element.h"

class QButtonGroup;
class QLineEdit;

namespace etiqo {

class CSerializeDlg : public QDialog {
    Q_OBJECT

public:
    CSerializeDlg(Element* element, int mode, QWidget* parent = nullptr);

    int m_nMode;  // 0 none, 1 increment, 2 decrement; valid after OK

    void accept() override;

private:
    Element* m_pElement;
    QButtonGroup* m_modes;
    QLineEdit* m_stepEdit;
    QLineEdit* m_resetAtEdit;
    QLineEdit* m_resetToEdit;
};

}  // namespace etiqo
