#pragma once
// The interface language, chosen once at start-up from the system locale.

class QLocale;

namespace etiqo {

// Chinese only for Chinese as used in China (zh_CN); Taiwan, Hong Kong and every other locale get English.
bool IsChineseLocale(const QLocale& locale);

// Sets the process-wide language flag from QLocale::system().
void ChooseInterfaceLanguage();

// In Chinese mode, Qt's own texts (file, print, page-setup and font dialogs, message box buttons)
// in Chinese too, from Qt's translations; false when they are not installed.
bool LoadQtTranslations();

}  // namespace etiqo
