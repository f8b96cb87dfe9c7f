#include "print/CPrintPreviewDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cstdlib>

#include "print/LabelPreview.h"
#include "print/PaperForms.h"
#include "print/PrintDlg.h"
#include "print/PrinterConfig.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {}  // namespace

CPrintPreviewDlg::CPrintPreviewDlg(Canvas canvas, PrinterConfig& printers, QWidget* parent)
    : QDialog(parent), m_canvas(std::move(canvas)), m_printers(printers) {
    setWindowTitle(UiText(TextId::PreviewTitle));

    auto* printerGroup = new QGroupBox(UiText(TextId::PreviewPrinterGroup), this);
    m_printerList = new QComboBox(printerGroup);
    m_printerList->setMinimumContentsLength(24);
    m_propertiesButton = new QPushButton(UiText(TextId::PreviewProperties), printerGroup);
    auto* printerRow = new QHBoxLayout(printerGroup);
    printerRow->addWidget(new QLabel(UiText(TextId::PreviewPrinterName), printerGroup));
    printerRow->addWidget(m_printerList, 1);
    printerRow->addWidget(m_propertiesButton);
    m_loadedLine = new QLabel(printerGroup);
    m_loadedLine->setObjectName(QStringLiteral("loadedLine"));
    printerRow->addWidget(m_loadedLine);

    auto* settingsGroup = new QGroupBox(UiText(TextId::PreviewSettingsGroup), this);
    m_copiesEdit = new QLineEdit(settingsGroup);
    m_copiesEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), m_copiesEdit));
    m_copiesEdit->setMaximumWidth(80);
    auto* settingsRow = new QHBoxLayout(settingsGroup);
    settingsRow->addWidget(new QLabel(UiText(TextId::PreviewCopies), settingsGroup));
    settingsRow->addWidget(m_copiesEdit);
    settingsRow->addStretch(1);

    auto* previewGroup = new QGroupBox(UiText(TextId::PreviewGroup), this);
    m_preview = new LabelPreview(m_canvas.label, m_canvas.painter, m_canvas.viewSize, previewGroup);
    m_preview->SetSerialsMoved(m_canvas.serialsMoved);
    m_preview->setMinimumSize(360, 240);
    auto* previewBox = new QVBoxLayout(previewGroup);
    previewBox->addWidget(m_preview);
    auto* checkLine = new QLabel(previewGroup);
    checkLine->setObjectName(QStringLiteral("checkLine"));
    checkLine->setWordWrap(true);
    checkLine->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // A fixed height: a new text must not resize the picture, whose every paint steps serial numbers.
    checkLine->setFixedHeight(checkLine->fontMetrics().lineSpacing() * 3);
    previewBox->addWidget(checkLine);
    m_preview->SetCheckShown([checkLine](const QString& summary) { checkLine->setText(summary); });

    m_printButton = new QPushButton(UiText(TextId::PreviewPrint), this);
    m_printButton->setDefault(true);  // Enter prints
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_printButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addWidget(settingsGroup);
    layout->addWidget(previewGroup, 1);
    layout->addLayout(buttons);

    const auto entries = printers.Printers();
    for (const PrinterEntry& entry : entries) {
        m_printerList->addItem(QString::fromStdString(entry.name));
        if (entry.isDefault) {
            m_printerList->setCurrentIndex(m_printerList->count() - 1);
        }
    }
    if (!entries.empty()) {
        m_copiesEdit->setText(QStringLiteral("1"));
    }

    connect(m_printerList, &QComboBox::currentIndexChanged, this, &CPrintPreviewDlg::UpdateButtons);
    connect(m_printerList, &QComboBox::currentIndexChanged, this, &CPrintPreviewDlg::UpdateUnprintable);
    connect(m_propertiesButton, &QPushButton::clicked, this, &CPrintPreviewDlg::OnProperties);
    connect(m_printButton, &QPushButton::clicked, this, &CPrintPreviewDlg::OnPrint);
    UpdateButtons();
    UpdateUnprintable();
}

void CPrintPreviewDlg::UpdateUnprintable() {
    const std::string printer = SelectedPrinter().toStdString();
    const Label& label = m_canvas.label;
    const std::string loaded =
        printer.empty() ? std::string() : MediaDescription(m_printers.LoadedMedia(printer));
    m_loadedLine->setText(loaded.empty() ? QString() : UiText(TextId::PrintLoadedMedia, loaded));
    if (printer.empty() || label.m_nLabelWidthMM <= 0 || label.m_nLabelHeightMM <= 0) {
        m_preview->SetUnprintable({});
        return;
    }
    const PaperForm paper =
        m_printers.FindOrAddPaperForm(printer, label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    const double width = label.m_nLabelWidthMM * 100.0;
    const double height = label.m_nLabelHeightMM * 100.0;
    m_preview->SetUnprintable(QMarginsF(paper.marginLeft100 / width, paper.marginTop100 / height,
                                        paper.marginRight100 / width, paper.marginBottom100 / height));
}

QString CPrintPreviewDlg::SelectedPrinter() const {
    return m_printerList->currentIndex() >= 0 ? m_printerList->currentText() : QString();
}

void CPrintPreviewDlg::UpdateButtons() {
    // Without a printer there is nothing to print on and no settings to open.
    const bool printer = !SelectedPrinter().isEmpty();
    m_printButton->setEnabled(printer);
    m_propertiesButton->setEnabled(printer);
}

void CPrintPreviewDlg::OnProperties() {
    ShowPrinterProperties(this, SelectedPrinter());
}

void CPrintPreviewDlg::OnPrint() {
    const QString name = SelectedPrinter();
    if (name.isEmpty() || !m_canvas.printLabel) {
        return;
    }
    // atoi: an empty box is 0 copies.
    const int copies = std::atoi(m_copiesEdit->text().toLatin1().constData());
    m_canvas.printLabel(name.toStdString(), copies);
}

}  // namespace etiqo
