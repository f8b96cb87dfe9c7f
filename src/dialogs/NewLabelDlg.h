#pragma once
// Asks for the size of a new label in whole millimetres.

#include <QDialog>

class QLineEdit;

namespace etiqo {

class CNewLabelDlg : public QDialog {
    Q_OBJECT

public:
    // Sizes the rest of the program can lay out, print and divide by.
    static constexpr int kMinSizeMM = 1;
    static constexpr int kMaxSizeMM = 1000;

    explicit CNewLabelDlg(QWidget* parent = nullptr);

    int m_nHeight = 70;  // millimetres, valid after OK
    int m_nWidth = 50;

    void accept() override;

private:
    QLineEdit* m_widthEdit;
    QLineEdit* m_heightEdit;
};

}  // namespace etiqo
