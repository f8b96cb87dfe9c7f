#pragma once
// The file dialogs of the label commands: where to save (with the overwrite question) and what to open.

#include <QString>

class QWidget;

namespace etiqo {

// The save dialog. Returns the chosen path with ".lab" appended when it has no extension, or an
// empty string when the user cancels, chooses nothing or refuses to overwrite an existing file.
QString AskSaveLabelPath(QWidget* parent, const QString& startFolder = {});

// The open dialog: an existing file or an empty string on Cancel.
QString AskOpenLabelPath(QWidget* parent, const QString& startFolder = {});

// The dialogs' filter in the interface language.
QString LabelFileFilter();

}  // namespace etiqo
