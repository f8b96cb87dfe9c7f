#pragma once
// Shared set-up of the dialog tests: sample elements as the canvas creates them, the interface
// language put back after each test, and a user's hands on a dialog's named controls.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>

#include "ModalDriver.h"
#include "model/Element.h"
#include "res/Texts.h"

namespace etiqo::test {

using testing::OnNextModal;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetChineseInterface(false); }
    void TearDown() override { SetChineseInterface(false); }
};

inline void Click(QWidget* dialog, const char* buttonName) {
    auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    ASSERT_NE(button, nullptr) << buttonName;
    // Check boxes and radio buttons take clicks on their indicator and label only.
    const QPoint where = qobject_cast<QPushButton*>(button) != nullptr ? button->rect().center()
                                                                       : QPoint(4, button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

// Types text key by key, any script: QTest::keyClicks knows Latin-1 keys only, and an input method
// delivers other text like this.
inline void KeyText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, 0, Qt::NoModifier, text.mid(i, n));
            QApplication::sendEvent(widget, &key);
        }
        i += n - 1;
    }
}

// Replaces the text of the named line edit as a user would: select all, delete, then type.
inline void Type(QWidget* dialog, const char* editName, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    ASSERT_NE(edit, nullptr) << editName;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    KeyText(edit, text);
}

inline QString TextOf(QWidget* dialog, const char* editName) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    return edit != nullptr ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(editName));
}

inline void SetContent(Element& e, const char* utf8OrAscii) {
    std::memset(e.str, 0, sizeof e.str);
    std::strncpy(e.str, utf8OrAscii, sizeof e.str - 1);
}

inline Element New(ElementKind kind, int width, int height, const char* content = "0123456789") {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nWidth = width;
    e.nHeight = height;
    e.nSize = kNoGrip;
    SetContent(e, content);
    return e;
}

inline Element NewBarcode() {
    Element e = New(ElementKind::Barcode, 300, 80);
    e.nSymbology = kSymbologyCode128;
    e.nMinBarHeight = 15;
    e.bShowText = 1;
    e.hImage = 7;  // a cached symbol: the dialogs must leave it to the canvas
    return e;
}

inline Element New2DCode() {
    Element e = New(ElementKind::Code2D, 100, 100);
    e.nImageWidth = e.nImageHeight = 100;
    e.nSymbology = kSymbologyQrCode;
    e.hImage = 9;
    return e;
}

inline Element NewPicture(int imageWidth, int imageHeight, int width) {
    Element e = New(ElementKind::Picture, width, imageWidth != 0 ? width * imageHeight / imageWidth : width,
                    "/tmp/picture.png");
    e.nImageWidth = imageWidth;
    e.nImageHeight = imageHeight;
    return e;
}

inline Element NewShape() {
    Element e = New(ElementKind::Shape, 200, 120, "");
    e.nEndX = 40;
    e.nEndY = 50;
    e.nPenWidth = 4;
    return e;
}

inline bool SameBytes(const Element& a, const Element& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace etiqo::test
