#include "app/AboutBox.h"

#include <QApplication>
#include <QMessageBox>

#include "res/Texts.h"

namespace etiqo {

void ShowAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(Tr(TextId::AboutTitle)));
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setText(QStringLiteral("<b>%1</b>")
                    .arg(QString::fromUtf8(Tr(TextId::AboutVersion))
                             .arg(QStringLiteral(ETIQO_VERSION))
                             .toHtmlEscaped()));
    box.setInformativeText(QString::fromUtf8(Tr(TextId::AboutDescription)));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace etiqo
