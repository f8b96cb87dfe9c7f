#pragma once
// Edits one shape element: the kind of outline, its pen width and a rounded rectangle's corner
// size. OK writes straight into the element.

#include <QDialog>

#include "model/Element.h"

class QComboBox;
class QLineEdit;

namespace etiqo {

class CShapeDlg : public QDialog {
    Q_OBJECT

public:
    CShapeDlg(Element* element, int shapeType, QWidget* parent = nullptr);

    int m_nShapeType;

    void accept() override;

private:
    void OnTypeChanged(int position);

    Element* m_pElement;
    QComboBox* m_typeList;
    QLineEdit* m_penWidthEdit;
    QLineEdit* m_cornerEdit;
};

}  // namespace etiqo
