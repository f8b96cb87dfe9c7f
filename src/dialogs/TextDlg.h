#pragma once
// Edits the content of one text element; also reaches its serialization settings.

#include <QDialog>

#include "model/Element.h"

namespace etiqo {

class ContentEdit;

class CTextDlg : public QDialog {
    Q_OBJECT

public:
    CTextDlg(Element* element, const QString& content, QWidget* parent = nullptr);

    QString m_strContent;  // what the box holds after OK; the caller stores it into str

    void accept() override;

private:
    Element* m_pElement;
    ContentEdit* m_contentEdit;
};

}  // namespace etiqo
