#pragma once
// Edits one 2D-symbol element: symbology, content and one size in millimetres (the width).

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace etiqo {

class ContentEdit;

class C2DCodeDlg : public QDialog {
    Q_OBJECT

public:
    struct Values {
        QString strContent;
        int nSymbology = 0;
        int nSize = 10;  // millimetres
    };

    explicit C2DCodeDlg(const Values& values, QWidget* parent = nullptr);

    Values m_values;  // the dialog's result after OK

    void accept() override;

private:
    QComboBox* m_typeList;
    ContentEdit* m_contentEdit;
    QLineEdit* m_sizeEdit;
};

}  // namespace etiqo
