#pragma once
// Drives modal dialogs from inside their own event loop: the action runs on the next modal widget of
// the given type (a message box, a file dialog) while the code under test waits in exec().

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>

namespace etiqo::testing {

// Runs act once on the next visible modal widget of type Dialog. Polls, because the dialog only
// appears after the call that the test makes next.
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> act) {
    auto* timer = new QTimer(qApp);  // freed with the application if no dialog ever comes
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

struct MessageSeen {
    QString caption;
    QString text;
    bool shown = false;
};

// Answers the next message box with the given button and records its caption and text.
inline std::shared_ptr<MessageSeen> AnswerMessageBox(QMessageBox::StandardButton answer) {
    auto seen = std::make_shared<MessageSeen>();
    WhenModal<QMessageBox>([seen, answer](QMessageBox* box) {
        seen->shown = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        if (QAbstractButton* button = box->button(answer)) {
            button->click();
        } else {
            box->reject();
        }
    });
    return seen;
}

// Chooses a file in the next file dialog, or cancels it when path is empty. The flag says it appeared.
inline std::shared_ptr<bool> AnswerFileDialog(const QString& path) {
    auto shown = std::make_shared<bool>(false);
    WhenModal<QFileDialog>([shown, path](QFileDialog* dialog) {
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
