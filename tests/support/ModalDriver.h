#pragma once
// Drives modal dialogs from tests: exec() blocks, so the interaction is queued first and runs from
// the dialog's own event loop once it is the active modal widget.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <type_traits>

namespace etiqo::testing {

// Runs action on the next visible modal widget of type Dialog that is not `current` (the dialog
// already open, for nested dialogs). Fails the test when none appears within a few seconds.
template <typename Dialog = QWidget>
void OnNextModal(std::type_identity_t<std::function<void(Dialog*)>> action, QWidget* current = nullptr) {
    auto* timer = new QTimer(qApp);  // freed with the application if nothing ever comes
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, clock, skip = QPointer<QWidget>(current), action] {
                         auto* modal = qobject_cast<Dialog*>(QApplication::activeModalWidget());
                         const bool found = modal != nullptr && modal != skip.data() && modal->isVisible();
                         if (found || clock->elapsed() > 5000) {
                             timer->stop();
                             timer->deleteLater();
                             if (found) {
                                 action(modal);
                             } else {
                                 ADD_FAILURE() << "no modal dialog appeared";
                             }
                         }
                     });
    timer->start(5);
}

struct MessageSeen {
    QString caption;
    QString text;
    bool shown = false;
};

// Answers the next message box with the given button and records its caption and text.
inline std::shared_ptr<MessageSeen> AnswerMessageBox(QMessageBox::StandardButton answer) {
    auto seen = std::make_shared<MessageSeen>();
    OnNextModal<QMessageBox>([seen, answer](QMessageBox* box) {
        *seen = {box->windowTitle(), box->text(), true};
        QAbstractButton* button = box->button(answer);
        button != nullptr ? button->click() : box->reject();
    });
    return seen;
}

// Chooses a file in the next file dialog, or cancels it when path is empty. The flag says it appeared.
inline std::shared_ptr<bool> AnswerFileDialog(const QString& path) {
    auto shown = std::make_shared<bool>(false);
    OnNextModal<QFileDialog>([shown, path](QFileDialog* dialog) {
        *shown = true;
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, through the public base
    });
    return shown;
}

}  // namespace etiqo::testing
