#pragma once
// Small pieces every property dialog is built from: texts, number boxes, the button row.

#include <QString>

#include "res/UiText.h"

class QDialog;
class QDialogButtonBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace etiqo {

// A value as the dialogs write it into a box ("%d").
QString DecimalText(int value);

// A box read the way C's atoi reads it: leading blanks, a sign, then digits; anything else ends the
// number, no digits give 0, and values beyond the int range saturate instead of overflowing.
int AtoiText(const QString& text);

// A short box for a whole number, wide enough for about seven digits at any font size.
QLineEdit* NumberEdit(QWidget* parent, const char* objectName);

// A number box followed by its unit label, as one row for a form.
QHBoxLayout* WithUnit(QLineEdit* edit, const QString& unit, const char* unitObjectName = "unitLabel");

// The Ok/Cancel row: Ok is the default button and accepts, Cancel rejects. The buttons are named
// "okButton" and "cancelButton" so that tests and screenshots find them.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, TextId ok, TextId cancel = TextId::DlgCancel);

// The bottom row of a dialog with one more command: that button on the left, apart from the
// Ok/Cancel pair on the right.
QHBoxLayout* ButtonRow(QPushButton* extra, QDialogButtonBox* buttons);

}  // namespace etiqo
