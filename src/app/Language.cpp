#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

#include "res/Texts.h"

namespace etiqo {

bool IsChineseLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China;
}

void ChooseInterfaceLanguage() {
    SetChineseInterface(IsChineseLocale(QLocale::system()));
}

bool LoadQtTranslations() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!IsChineseInterface() || app == nullptr) {
        return false;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    translator.release()->setParent(app);  // lives as long as the application
    return true;
}

}  // namespace etiqo
