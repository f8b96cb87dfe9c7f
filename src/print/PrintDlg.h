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

// The printer's page and option settings for a look (Properties of the print dialog and the
// preview); like the spooler's document properties without a device mode to keep, what is chosen
// there is not carried into the job.
void ShowPrinterProperties(QWidget* parent, const QString& printerName);

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
