#include "dialogs/TextDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/ContentEdit.h"
#include "dialogs/DialogParts.h"
#include "dialogs/SerialButton.h"

namespace etiqo {

CTextDlg::CTextDlg(Element* element, const QString& content, QWidget* parent)
    : QDialog(parent), m_strContent(content), m_pElement(element), m_contentEdit(new ContentEdit(this)) {
    setWindowTitle(UiText(TextId::TextDlgTitle));

    auto* group = new QGroupBox(UiText(TextId::TextDlgGroup), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_contentEdit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(ButtonRow(SerializeButton(this, m_pElement), OkCancelButtons(this, TextId::TextDlgOk)));

    m_contentEdit->setText(m_strContent);
    m_contentEdit->setFocus();
}

void CTextDlg::accept() {
    // An empty text is accepted like any other.
    m_strContent = m_contentEdit->text();
    QDialog::accept();
}

}  // namespace etiqo
