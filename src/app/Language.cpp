#include "app/Language.h"

#include <QLocale>

#include "res/Texts.h"

namespace etiqo {

bool IsChineseLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China;
}

void ChooseInterfaceLanguage() {
    SetChineseInterface(IsChineseLocale(QLocale::system()));
}

}  // namespace etiqo
