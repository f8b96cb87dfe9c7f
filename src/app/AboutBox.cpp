#include "app/AboutBox.h"

#include <QApplication>
#include <QMessageBox>

#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

void ShowAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(UiText(TextId::AboutTitle));
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setText(QStringLiteral("<b>%1</b>")
                    .arg(UiText(TextId::AboutVersion).arg(QStringLiteral(ETIQO_VERSION)).toHtmlEscaped()));
    box.setInformativeText(UiText(TextId::AboutDescription));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace etiqo
