#include "app/CTagoraApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <filesystem>

#include "app/CMainFrame.h"
#include "app/Language.h"
#include "app/RecentFiles.h"
#include "dialogs/PropertyDialogs.h"
#include "res/Resources.h"

namespace etiqo {

int RunDesigner(int argc, char** argv) {
    QApplication app(argc, argv);
    SetUpApplicationSettings();
    QApplication::setWindowIcon(ProgramIcon());
    ChooseInterfaceLanguage();
    LoadQtTranslations();

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("label"), QStringLiteral("A .lab file to open."));
    parser.addHelpOption();
    parser.process(app);

    PropertyDialogs dialogs;
    CMainFrame frame(&dialogs);
    // The size and state the user left the window in; maximized the first time.
    if (frame.RestoreWindowState()) {
        frame.show();
    } else {
        frame.showMaximized();
    }
    // A file handed over by the desktop (double click on a .lab) is opened: that is why it was named.
    if (!parser.positionalArguments().isEmpty()) {
        // By its bytes: a name that is not UTF-8 does not survive the way through QString.
        const QString named = parser.positionalArguments().front();
        std::filesystem::path file = QFile::encodeName(named).toStdString();
        for (int i = 1; i < argc; ++i) {
            if (argv[i][0] != '-' && QFile::decodeName(argv[i]) == named) {
                file = argv[i];
                break;
            }
        }
        frame.OpenLabelFile(file);
    }
    return QApplication::exec();
}

}  // namespace etiqo
