#pragma once
// The private CUPS scheduler the printing tests talk to (scripts/cupsd-rig.sh): started once per
// test program before the first test, stopped after the last. The user's printers are never
// involved: CUPS_SERVER, HOME and CUPS_SERVERROOT point into the rig's own folder.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace etiqo::test {

class CupsdRig {
public:
    static constexpr const char* kQueue = "zpl";           // the default printer: Zebra ZPL, 203 dpi
    static constexpr const char* kSecondQueue = "second";  // the same kind, not the default

    // The rig's folder, or a file in it.
    static QString Dir(const QString& file = {});
    // What the queue's last job wrote (DIR/QUEUE.zpl).
    static QByteArray ReadQueueOutput(const QString& queue = QLatin1String(kQueue));
    // `lpoptions -p PRINTER` as the user sees it.
    static QString Lpoptions(const QString& printer);
    // Runs the rig script with these arguments (the rig's folder follows the action), failing the
    // test on an error; its standard output.
    static std::optional<QString> Script(const QString& action, const QStringList& arguments = {});
    // The files a raw port of the rig wrote (DIR/NAME-jobs), once `count` are there (or 30 s passed).
    static QStringList JobFiles(const QString& name, int count);
    // Forgets the user's stored defaults (a fresh HOME).
    static void ClearUserOptions();
    // Appends a comment line to the user's lpoptions file; a rewrite of the file drops it.
    static void MarkUserOptions();
    static bool UserOptionsMarked();
};

}  // namespace etiqo::test
