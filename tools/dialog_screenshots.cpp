// Renders every property dialog in Chinese and in English to PNG files, for looking at layouts
// without a display: dialog_screenshots OUTPUT_DIR [POINT_SIZE]
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScopeGuard>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "app/Language.h"
#include "dialogs/BarcodeDlg.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/Code2DDlg.h"
#include "dialogs/NewLabelDlg.h"
#include "dialogs/PictureSizeDlg.h"
#include "dialogs/SerializeDlg.h"
#include "dialogs/ShapeDlg.h"
#include "dialogs/TextDlg.h"
#include "model/Element.h"
#include "print/PrintDlg.h"
#include "print/PrinterConfig.h"
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

// Two label printers, for the print dialog's list.
class SamplePrinters : public etiqo::PrinterConfig {
public:
    std::vector<etiqo::PrinterEntry> Printers() override {
        return {{"Zebra-ZD420", true}, {"TSC-TTP-244", false}};
    }
    bool GetPrinterInfo(const std::string&, etiqo::PrinterInfo&) override { return false; }
    std::string GetPrinterMedia(const std::string&) override { return {}; }
    etiqo::PaperSizeMM GetPrinterPaperSize(const std::string&) override { return {}; }
    etiqo::PaperForm FindOrAddPaperForm(const std::string&, int, int) override { return {}; }
    bool SetPrinterPaperSize(const std::string&, int, int) override { return false; }
    bool SetPrinterCopies(const std::string&, int) override { return false; }
    bool IsServiceRunning() override { return true; }
    std::string WhyUnavailable(const std::string&) override { return {}; }
};

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
        // The content box full: one more key is refused and the note says why.
        {"text-full",
         [](Element& e) {
             auto dlg = std::make_unique<etiqo::CTextDlg>(&e, QString(255, QLatin1Char('7')));
             auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("contentEdit"));
             dlg->show();
             edit->end(false);  // typed at the end, not over a selection
             QKeyEvent key(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"));
             QApplication::sendEvent(edit, &key);
             return dlg;
         }},
        {"print",
         [](Element&) {
             static SamplePrinters printers;
             return std::make_unique<etiqo::CPrintDlg>(printers);
         }},
        {"font", [](Element&) { return std::make_unique<QFontDialog>(); }},
        {"message",
         [](Element&) {
             return std::make_unique<QMessageBox>(
                 QMessageBox::Question, QString::fromUtf8(etiqo::Tr(etiqo::TextId::CloseQuestionCaption)),
                 QString::fromUtf8(etiqo::Tr(etiqo::TextId::CloseQuestion)),
                 QMessageBox::Yes | QMessageBox::No);
         }},
        {"file",
         [](Element&) {
             auto dlg = std::make_unique<QFileDialog>(
                 nullptr, QString(), QDir::homePath(),
                 QString::fromUtf8(etiqo::Tr(etiqo::TextId::PictureFilesFilter)));
             dlg->setOption(QFileDialog::DontUseNativeDialog);
             dlg->resize(640, 420);
             return dlg;
         }},
    };

    int written = 0;
    for (const bool chinese : {true, false}) {
        etiqo::SetChineseInterface(chinese);
        // Qt's own dialogs speak Chinese too, as in the designer.
        const bool translated = etiqo::LoadQtTranslations();
        const auto untranslate = qScopeGuard([translated] {
            if (translated) {
                for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
                    QCoreApplication::removeTranslator(t);
                    t->deleteLater();
                }
            }
        });
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
