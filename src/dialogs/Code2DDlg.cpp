#include "dialogs/Code2DDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/ContentEdit.h"
#include "dialogs/DialogParts.h"
#include "dialogs/SymbologyLists.h"

namespace etiqo {

C2DCodeDlg::C2DCodeDlg(const Values& values, QWidget* parent)
    : QDialog(parent),
      m_values(values),
      m_typeList(new QComboBox(this)),
      m_contentEdit(new ContentEdit(this)),
      m_sizeEdit(NumberEdit(this, "sizeEdit")) {
    setWindowTitle(UiText(TextId::Code2DDlgTitle));

    m_typeList->setObjectName(QStringLiteral("typeList"));
    for (const SymbologyChoice& choice : k2DSymbologies) {
        m_typeList->addItem(QString::fromLatin1(choice.name));
    }
    m_typeList->setCurrentIndex(SymbologyPosition(k2DSymbologies, m_values.nSymbology));

    auto* form = new QFormLayout;
    form->addRow(UiText(TextId::Code2DDlgType), m_typeList);
    form->addRow(UiText(TextId::Code2DDlgContent), m_contentEdit);
    form->addRow(UiText(TextId::Code2DDlgSize), WithUnit(m_sizeEdit, UiText(TextId::DlgUnitMm)));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this, TextId::DlgConfirm));

    m_sizeEdit->setText(DecimalText(m_values.nSize));
    m_contentEdit->setText(m_values.strContent);
    m_contentEdit->setFocus();
}

void C2DCodeDlg::accept() {
    const int position = m_typeList->currentIndex();
    if (position >= 0) {
        m_values.nSymbology = k2DSymbologies[position].value;
    }
    m_values.nSize = AtoiText(m_sizeEdit->text());
    m_values.strContent = m_contentEdit->text();
    QDialog::accept();
}

}  // namespace etiqo
