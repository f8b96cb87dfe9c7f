#include "dialogs/ContentEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

#include "dialogs/ContentText.h"
#include "dialogs/DialogParts.h"

namespace etiqo {
namespace {

// Counts bytes, not characters: a Chinese character takes two bytes of str, some take four.
class ContentLimitValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        return ContentByteLength(input) <= kMaxContentBytes ? Acceptable : Invalid;
    }
};

}  // namespace

ContentEdit::ContentEdit(QWidget* parent)
    : QWidget(parent),
      m_edit(new QLineEdit(this)),
      m_fullNote(new QLabel(UiText(TextId::DlgContentFull), this)) {
    m_edit->setObjectName(QStringLiteral("contentEdit"));
    m_edit->setValidator(new ContentLimitValidator(m_edit));
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 36);
    setFocusProxy(m_edit);

    m_fullNote->setObjectName(QStringLiteral("contentFullNote"));
    m_fullNote->setWordWrap(true);
    m_fullNote->setForegroundRole(QPalette::PlaceholderText);
    m_fullNote->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    layout->addWidget(m_fullNote);

    connect(m_edit, &QLineEdit::inputRejected, this, [this] {
        // The note wraps: it asks for the height of its lines at the box's width, and the dialog
        // grows to its new minimum instead of clipping them, whatever the font size.
        m_fullNote->setMinimumHeight(m_fullNote->heightForWidth(m_edit->width()));
        m_fullNote->show();
    });
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (ContentByteLength(text) < kMaxContentBytes) {
            m_fullNote->hide();
        }
    });
}

QString ContentEdit::text() const {
    return m_edit->text();
}

void ContentEdit::setText(const QString& text) {
    QString fitting = text;
    while (ContentByteLength(fitting) > kMaxContentBytes) {
        fitting.chop(fitting.back().isLowSurrogate() ? 2 : 1);
    }
    m_edit->setText(fitting);
}

}  // namespace etiqo
