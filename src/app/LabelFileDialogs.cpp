#include "app/LabelFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {
namespace {}  // namespace

QString LabelFileFilter() {
    return UiText(TextId::LabelFileFilter);
}

QString AskSaveLabelPath(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent, QString(), startFolder, LabelFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The overwrite question is ours, asked after ".lab" has been added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    QString path = dialog.selectedFiles().front();
    const QFileInfo chosen(path);
    if (chosen.fileName().isEmpty()) {
        return {};
    }
    if (chosen.suffix().isEmpty()) {
        path += QStringLiteral(".lab");
    }
    if (QFileInfo::exists(path) &&
        QMessageBox::question(parent, UiText(TextId::OverwriteQuestionCaption),
                              UiText(TextId::OverwriteQuestion), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes) {
        return {};
    }
    return path;
}

QString AskOpenLabelPath(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent, QString(), startFolder, LabelFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

}  // namespace etiqo
