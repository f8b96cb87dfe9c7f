#include "dialogs/DialogParts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace etiqo {

QString DecimalText(int value) {
    return QString::number(value);
}

int AtoiText(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i].unicode() - u'0'), kLimit);
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max()));
}

QLineEdit* NumberEdit(QWidget* parent, const char* objectName) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
    return edit;
}

QHBoxLayout* WithUnit(QLineEdit* edit, const QString& unit, const char* unitObjectName) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    auto* label = new QLabel(unit);
    label->setObjectName(QString::fromLatin1(unitObjectName));
    row->addWidget(label);
    row->addStretch(1);
    return row;
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog, TextId ok, TextId cancel) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* okButton = buttons->addButton(UiText(ok), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    QPushButton* cancelButton = buttons->addButton(UiText(cancel), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QHBoxLayout* ButtonRow(QPushButton* extra, QDialogButtonBox* buttons) {
    auto* row = new QHBoxLayout;
    row->addWidget(extra);
    row->addStretch(1);
    row->addWidget(buttons);
    return row;
}

}  // namespace etiqo
