#pragma once
// Every text the user sees, in Chinese and English, chosen by the process-wide language flag.
// The table itself is Texts.def; add a line there, never a literal in a widget.

namespace etiqo {

enum class TextId {
#ifndef Q_MOC_RUN  // moc needs only the type, and its preprocessor stops at nested table files
#define ETIQO_TEXT(id, zh, en) id,
#include "res/Texts.def"
#undef ETIQO_TEXT
#endif
    Count_
};

// The language flag: set once at start-up, true for a Chinese/China system locale.
void SetChineseInterface(bool chinese);
bool IsChineseInterface();

// UTF-8 text of the id in the interface language.
const char* Tr(TextId id);
// Both forms, for tests and for the few places that show a fixed language.
const char* TrChinese(TextId id);
const char* TrEnglish(TextId id);

}  // namespace etiqo
