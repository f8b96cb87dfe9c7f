#pragma once
// The private CUPS scheduler the printing tests talk to (scripts/cupsd-rig.sh): started once per
// test program before the first test, stopped after the last. The user's printers are never
// involved: CUPS_SERVER, HOME and CUPS_SERVERROOT point into the rig's own folder.

#include <QByteArray>
#include <QString>

#include <string>

namespace etiqo::test {

class CupsdRig {
public:
    static constexpr const char* kQueue = "zpl";  // Zebra ZPL, 203 dpi, writes QueueOutput()

    static QString Dir();
    static QString QueueOutput();  // the file the queue's last job was written to
    static QByteArray ReadQueueOutput();
    static QString UserOptionsFile();  // ~/.cups/lpoptions of the rig's HOME

    // `lpoptions -p QUEUE` as the user sees it.
    static QString Lpoptions(const QString& printer);
    // Runs the rig script ("start" or "stop"); true on success.
    static bool Run(const QString& action);
    // Forgets the user's stored defaults (a fresh HOME).
    static void ClearUserOptions();
    // Appends a comment line to the user's lpoptions file; a rewrite of the file drops it.
    static void MarkUserOptions();
    static bool UserOptionsMarked();
    // Adds a second ZPL queue NAME writing to Dir()/NAME.zpl.
    static bool AddQueue(const QString& name);
};

}  // namespace etiqo::test
