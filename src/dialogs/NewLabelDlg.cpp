#include "dialogs/NewLabelDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "dialogs/DialogParts.h"

namespace etiqo {

CNewLabelDlg::CNewLabelDlg(QWidget* parent)
    : QDialog(parent),
      m_widthEdit(NumberEdit(this, "widthEdit")),
      m_heightEdit(NumberEdit(this, "heightEdit")) {
    setWindowTitle(UiText(TextId::NewLabelDlgTitle));

    auto* group = new QGroupBox(UiText(TextId::NewLabelDlgGroup), this);
    auto* form = new QFormLayout(group);
    form->addRow(UiText(TextId::NewLabelDlgWidth), WithUnit(m_widthEdit, UiText(TextId::DlgUnitMm)));
    form->addRow(UiText(TextId::NewLabelDlgHeight), WithUnit(m_heightEdit, UiText(TextId::DlgUnitMm)));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(OkCancelButtons(this, TextId::DlgConfirm));

    // Always these, whatever the current label's size.
    m_widthEdit->setText(QStringLiteral("50"));
    m_heightEdit->setText(QStringLiteral("70"));
    m_widthEdit->setFocus();
    m_widthEdit->selectAll();
}

namespace {

// A whole number of millimetres within the range; "12.5" or "abc" is refused rather than read as
// 12 or 0, so the label never gets a size the user did not ask for.
bool ReadSize(const QLineEdit* edit, int& mm) {
    bool ok = false;
    mm = edit->text().trimmed().toInt(&ok);
    return ok && mm >= CNewLabelDlg::kMinSizeMM && mm <= CNewLabelDlg::kMaxSizeMM;
}

}  // namespace

void CNewLabelDlg::accept() {
    int width = 0;
    int height = 0;
    const bool widthFits = ReadSize(m_widthEdit, width);
    const bool heightFits = ReadSize(m_heightEdit, height);
    if (!widthFits || !heightFits) {
        // A label of 0 mm or less cannot be laid out; the dialog stays open with what was typed.
        QMessageBox::warning(this, windowTitle(), UiText(TextId::NewLabelRangeMessage));
        QLineEdit* wrong = widthFits ? m_heightEdit : m_widthEdit;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    m_nWidth = width;
    m_nHeight = height;
    QDialog::accept();
}

}  // namespace etiqo
