#include "dialogs/ContentText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace etiqo {
namespace {

QByteArray ToGb18030(const QString& text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

}  // namespace

int ContentByteLength(const QString& text) {
    return static_cast<int>(ToGb18030(text).size());
}

QString ContentText(const Element& element) {
    const std::string_view bytes = ContentBytes(element);
    QStringDecoder decoder("GB18030");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool StoreContent(Element& element, const QString& text) {
    const QByteArray bytes = ToGb18030(text);
    if (bytes.size() > kMaxContentBytes) {
        return false;
    }
    std::memset(element.str, 0, sizeof element.str);
    std::memcpy(element.str, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

}  // namespace etiqo
