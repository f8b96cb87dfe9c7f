#pragma once
// The print dialog: only what the print job uses, the printer, the number of copies and the
// printer's own properties. (Qt's dialog also offers page ranges, collation and reverse order,
// which a label job would silently ignore.)

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace etiqo {

class PrinterConfig;

class CPrintDlg : public QDialog {
    Q_OBJECT
public:
    CPrintDlg(PrinterConfig& printers, QWidget* parent = nullptr);

    std::string Printer() const;
    int Copies() const;

    QComboBox* PrinterList() const { return m_printerList; }
    QSpinBox* CopiesBox() const { return m_copies; }

private:
    void ShowProperties();

    QComboBox* m_printerList;
    QSpinBox* m_copies;
    QPushButton* m_propertiesButton;
};

}  // namespace etiqo
