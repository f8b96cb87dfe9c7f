#include "dialogs/ContentText.h"

#include "model/TextCodec.h"

namespace etiqo {

int ContentByteLength(const QString& text) {
    return static_cast<int>(Gb18030FromUtf8(text.toStdString()).size());
}

QString ContentText(const Element& element) {
    return QString::fromStdString(ContentUtf8(element));
}

bool StoreContent(Element& element, const QString& text) {
    return SetContent(element, text.toStdString(), Overflow::Refuse) != TextFit::Refused;
}

}  // namespace etiqo
