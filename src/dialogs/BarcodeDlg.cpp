#include "dialogs/BarcodeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/ContentEdit.h"
#include "dialogs/ContentText.h"
#include "dialogs/DialogParts.h"
#include "dialogs/SerialButton.h"
#include "dialogs/SymbologyLists.h"

namespace etiqo {

CBarcodeDlg::CBarcodeDlg(Element* element, const Values& values, QWidget* parent)
    : QDialog(parent),
      m_values(values),
      m_pElement(element),
      m_typeList(new QComboBox(this)),
      m_contentEdit(new ContentEdit(this)),
      m_widthEdit(NumberEdit(this, "widthEdit")),
      m_heightEdit(NumberEdit(this, "heightEdit")),
      m_showText(new QCheckBox(UiText(TextId::BarcodeDlgShowText), this)),
      m_fitToDots(new QCheckBox(UiText(TextId::CheckFitToDots), this)) {
    setWindowTitle(UiText(TextId::BarcodeDlgTitle));

    m_typeList->setObjectName(QStringLiteral("typeList"));
    for (const SymbologyChoice& choice : kBarcodeSymbologies) {
        m_typeList->addItem(QString::fromLatin1(choice.name));
    }
    m_typeList->setCurrentIndex(SymbologyPosition(kBarcodeSymbologies, m_values.nSymbology));
    m_showText->setObjectName(QStringLiteral("showTextCheck"));

    auto* form = new QFormLayout;
    form->addRow(UiText(TextId::BarcodeDlgType), m_typeList);
    form->addRow(UiText(TextId::BarcodeDlgContent), m_contentEdit);
    form->addRow(UiText(TextId::BarcodeDlgWidth), WithUnit(m_widthEdit, UiText(TextId::DlgUnitMm)));
    form->addRow(UiText(TextId::BarcodeDlgHeight), WithUnit(m_heightEdit, UiText(TextId::DlgUnitMm)));
    form->addRow(QString(), m_showText);
    m_fitToDots->setObjectName(QStringLiteral("fitToDotsCheck"));
    m_fitToDots->setChecked(m_values.bFitToDots);
    form->addRow(QString(), m_fitToDots);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(SerializeButton(this, m_pElement), OkCancelButtons(this, TextId::DlgOk)));

    m_contentEdit->setText(m_values.strContent);
    m_widthEdit->setText(DecimalText(m_values.nWidth));
    m_heightEdit->setText(DecimalText(m_values.nHeight));
    m_showText->setChecked(m_values.nShowText != 0);
    m_contentEdit->setFocus();
}

void CBarcodeDlg::accept() {
    // With nothing selected (a symbology the list does not offer) the element keeps its own.
    const int position = m_typeList->currentIndex();
    if (position >= 0) {
        m_values.nSymbology = kBarcodeSymbologies[position].value;
    }
    m_values.strContent = m_contentEdit->text();

    // The one check this dialog makes: EAN-13 takes exactly 13 characters (bytes, as stored).
    if (m_values.nSymbology == kSymbologyOwnEan13 && ContentByteLength(m_values.strContent) != 13) {
        QMessageBox box(QMessageBox::Critical, UiText(TextId::Ean13LengthCaption),
                        UiText(TextId::Ean13LengthMessage), QMessageBox::Ok);
        box.exec();
        return;
    }

    m_values.nWidth = AtoiText(m_widthEdit->text());
    m_values.nHeight = AtoiText(m_heightEdit->text());
    m_values.nShowText = m_showText->isChecked() ? 1 : 0;
    m_values.bFitToDots = m_fitToDots->isChecked();
    QDialog::accept();
}

}  // namespace etiqo
