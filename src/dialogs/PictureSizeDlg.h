#pragma once
// Changes the printed size of one picture element, in millimetres or in dots ("pixels"), keeping
// the source picture's proportion when asked. OK writes the new size straight into the element.

#include <QDialog>

#include "model/Element.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace etiqo {

class CPictureSizeDlg : public QDialog {
    Q_OBJECT

public:
    enum Unit { kUnitMillimetre = 0, kUnitPixel = 1 };

    CPictureSizeDlg(Element* element, int dpiX, int dpiY, QWidget* parent = nullptr);

    void accept() override;

private:
    void ShowElementSize(int unit);
    void OnUnitChanged(QComboBox* changed, int unit);
    void OnWidthChanged();

    Element* m_pElement;
    int m_nDpiX;
    int m_nDpiY;
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
    QComboBox* m_widthUnit;
    QComboBox* m_heightUnit;
    QCheckBox* m_fixedRatio;
};

}  // namespace etiqo
