#include "dialogs/SerializeDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialogs/DialogParts.h"

namespace etiqo {

CSerializeDlg::CSerializeDlg(Element* element, int mode, QWidget* parent)
    : QDialog(parent),
      m_nMode(mode),
      m_pElement(element),
      m_modes(new QButtonGroup(this)),
      m_stepEdit(NumberEdit(this, "stepEdit")),
      m_resetAtEdit(NumberEdit(this, "resetAtEdit")),
      m_resetToEdit(NumberEdit(this, "resetToEdit")) {
    setWindowTitle(UiText(TextId::SerializeDlgTitle));

    auto* layout = new QVBoxLayout(this);
    const TextId modeTexts[] = {TextId::SerializeNone, TextId::SerializeIncrement,
                                TextId::SerializeDecrement};
    const char* modeNames[] = {"noSerialRadio", "incrementRadio", "decrementRadio"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(UiText(modeTexts[i]), this);
        radio->setObjectName(QString::fromLatin1(modeNames[i]));
        m_modes->addButton(radio, i);
        layout->addWidget(radio);
    }
    // A mode outside 0..2 (a damaged record) checks nothing and is kept unless the user picks one.
    if (QAbstractButton* current = m_modes->button(mode)) {
        current->setChecked(true);
    }

    m_stepEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    auto* stepForm = new QFormLayout;
    stepForm->addRow(UiText(TextId::SerializeStep), m_stepEdit);
    layout->addLayout(stepForm);

    auto* reset = new QGroupBox(UiText(TextId::SerializeResetGroup), this);
    auto* resetForm = new QFormLayout(reset);
    resetForm->addRow(new QLabel(UiText(TextId::SerializeResetWhen), reset));
    resetForm->addRow(UiText(TextId::SerializeValue), m_resetAtEdit);
    resetForm->addRow(UiText(TextId::SerializeResetTo), m_resetToEdit);
    layout->addWidget(reset);

    layout->addWidget(OkCancelButtons(this, TextId::DlgOk));

    // The boxes always open with these values, whatever the element holds.
    m_stepEdit->setText(QStringLiteral("1"));
    m_resetAtEdit->setText(QStringLiteral("99999"));
    m_resetToEdit->setText(QStringLiteral("1"));
}

void CSerializeDlg::accept() {
    if (m_modes->checkedId() >= 0) {
        m_nMode = m_modes->checkedId();
    }
    m_pElement->nSerialStep = AtoiText(m_stepEdit->text());
    m_pElement->nSerialResetAt = AtoiText(m_resetAtEdit->text());
    m_pElement->nSerialResetTo = AtoiText(m_resetToEdit->text());
    m_pElement->nSerialMode = m_nMode;
    QDialog::accept();
}

}  // namespace etiqo
