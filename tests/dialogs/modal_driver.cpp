#include "modal_driver.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace etiqo::test {

void OnNextModal(std::function<void(QWidget*)> action, QWidget* current) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QPointer<QWidget> skip(current);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, skip, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != skip.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            return;
        }
        if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog appeared";
        }
    });
    timer->start(10);
}

void Click(QWidget* dialog, const char* buttonName) {
    auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    ASSERT_NE(button, nullptr) << buttonName;
    // Check boxes and radio buttons take clicks on their indicator and label only.
    const QPoint where = qobject_cast<QPushButton*>(button) != nullptr ? button->rect().center()
                                                                       : QPoint(4, button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

void KeyText(QWidget* widget, const QString& text) {
    // QTest::keyClicks knows Latin-1 keys only; an input method delivers other text like this.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, n);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, piece);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, piece);
        QApplication::sendEvent(widget, &release);
        i += n - 1;
    }
}

void Type(QWidget* dialog, const char* editName, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    ASSERT_NE(edit, nullptr) << editName;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    KeyText(edit, text);
}

QString TextOf(QWidget* dialog, const char* editName) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    return edit != nullptr ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(editName));
}

QStringList VisibleTexts(QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (auto* label : dialog->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    for (auto* group : dialog->findChildren<QGroupBox*>()) {
        texts << group->title();
    }
    for (auto* list : dialog->findChildren<QComboBox*>()) {
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
    }
    return texts;
}

}  // namespace etiqo::test
