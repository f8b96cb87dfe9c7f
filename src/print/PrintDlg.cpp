#include "print/PrintDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

#include "print/PrinterConfig.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {
namespace {

constexpr int kMaxCopies = 9999;

}  // namespace

CPrintDlg::CPrintDlg(PrinterConfig& printers, QWidget* parent)
    : QDialog(parent),
      m_printerList(new QComboBox(this)),
      m_copies(new QSpinBox(this)),
      m_propertiesButton(new QPushButton(UiText(TextId::PrintDlgProperties), this)) {
    setWindowTitle(UiText(TextId::PrintDlgTitle));
    m_printerList->setMinimumContentsLength(24);
    for (const PrinterEntry& entry : printers.Printers()) {
        m_printerList->addItem(QString::fromStdString(entry.name));
        if (entry.isDefault) {
            m_printerList->setCurrentIndex(m_printerList->count() - 1);
        }
    }
    m_copies->setRange(1, kMaxCopies);
    m_copies->setValue(1);

    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(m_printerList, 1);
    printerRow->addWidget(m_propertiesButton);
    auto* form = new QFormLayout;
    form->addRow(UiText(TextId::PrintDlgPrinter), printerRow);
    form->addRow(UiText(TextId::PrintDlgCopies), m_copies);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(UiText(TextId::PrintDlgPrint), QDialogButtonBox::AcceptRole);
    buttons->addButton(UiText(TextId::PrintDlgCancel), QDialogButtonBox::RejectRole);
    print->setDefault(true);
    // With no printer there is nothing to print on.
    const bool any = m_printerList->count() > 0;
    print->setEnabled(any);
    m_propertiesButton->setEnabled(any);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_propertiesButton, &QPushButton::clicked, this, &CPrintDlg::ShowProperties);
}

std::string CPrintDlg::Printer() const {
    return m_printerList->currentIndex() >= 0 ? m_printerList->currentText().toStdString() : std::string();
}

int CPrintDlg::Copies() const {
    return m_copies->value();
}

void ShowPrinterProperties(QWidget* parent, const QString& printerName) {
    if (printerName.isEmpty()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(printerName);
    if (printer.printerName() != printerName) {
        return;  // the printer cannot be opened
    }
    QPageSetupDialog settings(&printer, parent);
    settings.exec();
}

void CPrintDlg::ShowProperties() {
    ShowPrinterProperties(this, m_printerList->currentText());
}

}  // namespace etiqo
