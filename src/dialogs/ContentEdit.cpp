#include "dialogs/ContentEdit.h"

#include <QMenu>

#include <memory>

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

QStringList& Columns() {
    static QStringList columns;
    return columns;
}

}  // namespace

void ContentEdit::SetFieldColumns(const QStringList& columns) {
    Columns() = columns;
}

QStringList ContentEdit::FieldChoices() {
    QStringList choices;
    for (const QString& column : Columns()) {
        choices << QStringLiteral("${%1}").arg(column);
    }
    return choices << QStringLiteral("${date}") << QStringLiteral("${date:+30d:%Y-%m-%d}")
                   << QStringLiteral("${time}") << QStringLiteral("${datetime}")
                   << QStringLiteral("${record}") << QStringLiteral("${copy}");
}

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

    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edit, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        std::unique_ptr<QMenu> menu(m_edit->createStandardContextMenu());
        menu->addSeparator();
        QMenu* fields = menu->addMenu(UiText(TextId::DataInsertField));
        fields->setObjectName(QStringLiteral("insertFieldMenu"));
        for (const QString& field : FieldChoices()) {
            fields->addAction(field, m_edit, [this, field] { m_edit->insert(field); });
        }
        menu->exec(m_edit->mapToGlobal(at));
    });
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
