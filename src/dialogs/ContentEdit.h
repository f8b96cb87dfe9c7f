#pragma once
// The content box of the text, barcode and 2D-code dialogs. It takes no more than the element's
// str can hold (255 bytes in GB18030), so nothing is ever cut on OK: input past the limit is
// refused as it is typed or pasted, and a note under the box says why.

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace etiqo {

class ContentEdit : public QWidget {
    Q_OBJECT

public:
    explicit ContentEdit(QWidget* parent = nullptr);

    QString text() const;
    // Text too long for str (only a damaged record holds such) is shortened to what fits.
    void setText(const QString& text);

    // The columns of the label's data source, offered with the built-in fields by the box's
    // context menu ("Insert Field"), which inserts a ${reference} at the cursor.
    static void SetFieldColumns(const QStringList& columns);
    static QStringList FieldChoices();

private:
    QLineEdit* m_edit;
    QLabel* m_fullNote;
};

}  // namespace etiqo
