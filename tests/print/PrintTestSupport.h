#pragma once
// The private CUPS scheduler of the printing tests (scripts/cupsd-rig.sh), started once per test
// program and stopped after it, with CUPS_SERVER, HOME and CUPS_SERVERROOT in its own folder (never
// the user's printers); and the labels, programs and readers the tests share.

#include <QImage>
#include <QProcessEnvironment>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>

#include "model/Label.h"

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

// A label of the given size with a text element whose content serializes when mode is not 0.
Label MakeTextLabel(int widthMM, int heightMM, const std::string& text, int serialMode = 0);

// Saves a widthMM × heightMM label holding a Code 128 of `first` that counts up, at (x, y) dots, as
// DIR/serial.lab; the file's path.
QString SaveSerialCodeLabel(const QString& dir, int widthMM, int heightMM, const char* first, int x = 60,
                            int y = 90);

// Draws each element as a black box with its content written in it, and steps serial numbers the
// way DrawLabel does: enough to see pages, sizes and counting without the element renderer.
bool DrawBoxes(QPainter& painter, Label& label);

// Waits for the job on the rig's queue and returns the queue's output file (empty on failure).
QByteArray WaitForQueueOutput(int jobId, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Runs a program: exit status (-1 when it did not end normally), stdout and stderr.
struct ProgramRun {
    int status = -1;
    QString out, err;
};
ProgramRun Run(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
// The same for the etiqo program of this build.
ProgramRun RunEtiqo(const QStringList& arguments,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The barcodes zbarimg reads in the image (saved as pngPath), sorted.
QStringList ReadBarcodes(const QImage& image, const QString& pngPath);

}  // namespace etiqo::test
