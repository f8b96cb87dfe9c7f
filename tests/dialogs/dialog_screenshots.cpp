// Renders every property dialog in Chinese and in English to PNG files, for looking at layouts
// without a display: dialog_screenshots OUTPUT_DIR [POINT_SIZE]
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "dialogs/BarcodeDlg.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/Code2DDlg.h"
#include "dialogs/NewLabelDlg.h"
#include "dialogs/PictureSizeDlg.h"
#include "dialogs/SerializeDlg.h"
#include "dialogs/ShapeDlg.h"
#include "dialogs/TextDlg.h"
#include "model/Element.h"
#include "res/Texts.h"

namespace {

using etiqo::Element;

Element SampleElement() {
    Element e = etiqo::ZeroElement();
    e.nWidth = 300;
    e.nHeight = 80;
    e.nImageWidth = 800;
    e.nImageHeight = 600;
    e.nPenWidth = 4;
    return e;
}

struct Shot {
    const char* name;
    std::function<std::unique_ptr<QDialog>(Element&)> make;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [POINT_SIZE]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    if (argc > 2) {
        QFont font = QApplication::font();
        font.setPointSize(std::atoi(argv[2]));
        QApplication::setFont(font);
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const Shot shots[] = {
        {"text",
         [](Element& e) { return std::make_unique<etiqo::CTextDlg>(&e, QStringLiteral("0001 Etiqo")); }},
        {"barcode",
         [](Element& e) {
             return std::make_unique<etiqo::CBarcodeDlg>(
                 &e, etiqo::CBarcodeDlg::Values{1, 10, 38, 20, QStringLiteral("0123456789")});
         }},
        {"2dcode",
         [](Element&) {
             return std::make_unique<etiqo::C2DCodeDlg>(
                 etiqo::C2DCodeDlg::Values{QStringLiteral("https://example.com/42"), 58, 13});
         }},
        {"picture-size", [](Element& e) { return std::make_unique<etiqo::CPictureSizeDlg>(&e, 203, 203); }},
        {"new-label", [](Element&) { return std::make_unique<etiqo::CNewLabelDlg>(); }},
        {"shape", [](Element& e) { return std::make_unique<etiqo::CShapeDlg>(&e, 1); }},
        {"serialization", [](Element& e) { return std::make_unique<etiqo::CSerializeDlg>(&e, 1); }},
        {"batch",
         [](Element&) {
             auto dlg = std::make_unique<etiqo::CBatchPrintDlg>();
             return dlg;
         }},
    };

    int written = 0;
    for (const bool chinese : {true, false}) {
        etiqo::SetChineseInterface(chinese);
        for (const Shot& shot : shots) {
            Element e = SampleElement();
            const std::unique_ptr<QDialog> dlg = shot.make(e);
            dlg->show();
            QApplication::processEvents();
            const QString file = out.filePath(
                QStringLiteral("%1-%2.png").arg(QString::fromLatin1(shot.name), chinese ? "zh" : "en"));
            if (!dlg->grab().save(file)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
            ++written;
        }
    }
    std::printf("%d screenshots in %s\n", written, qPrintable(out.absolutePath()));
    return 0;
}
