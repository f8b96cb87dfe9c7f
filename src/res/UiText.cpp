#include "res/UiText.h"

namespace etiqo {

QString UiText(TextId id) {
    return QString::fromUtf8(Tr(id));
}

}  // namespace etiqo
