#pragma once
// Drives modal dialogs from tests: exec() blocks, so the interaction is queued first and runs
// from the dialog's own event loop once it is the active modal widget.

#include <QString>
#include <QWidget>

#include <functional>

class QDialog;

namespace etiqo::test {

// Runs action on the next modal widget that becomes active and is not `current` (the dialog
// already open, for nested dialogs). Fails the test when none appears within a few seconds.
void OnNextModal(std::function<void(QWidget*)> action, QWidget* current = nullptr);

// Clicks the named button of dialog.
void Click(QWidget* dialog, const char* buttonName);

// Replaces the text of the named line edit as a user would: select all, then type.
void Type(QWidget* dialog, const char* editName, const QString& text);
// Types text into widget key by key, any script.
void KeyText(QWidget* widget, const QString& text);
QString TextOf(QWidget* dialog, const char* editName);

// Every text the dialog shows: title, labels, buttons, group titles and list entries.
QStringList VisibleTexts(QWidget* dialog);

}  // namespace etiqo::test
