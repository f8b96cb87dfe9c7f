#include "dialogs/SerialButton.h"

#include <QPushButton>

#include "dialogs/DialogParts.h"
#include "dialogs/SerializeDlg.h"

namespace etiqo {

QPushButton* SerializeButton(QWidget* dialog, Element* element) {
    auto* button = new QPushButton(UiText(TextId::DlgSerialize), dialog);
    button->setObjectName(QStringLiteral("serializeButton"));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, element] {
        CSerializeDlg serialize(element, element->nSerialMode, dialog);
        if (serialize.exec() == QDialog::Accepted) {
            element->nSerialMode = serialize.m_nMode;
        }
    });
    return button;
}

}  // namespace etiqo
