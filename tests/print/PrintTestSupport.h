#pragma once
// Labels, programs and readers shared by the print job tests.

#include <QImage>
#include <QProcessEnvironment>
#include <QStringList>

#include <chrono>
#include <string>

#include "model/Label.h"

namespace etiqo::test {

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

// Adds a queue with the given driver that writes its jobs to output, or removes it again.
bool AddQueue(const QString& name, const QString& output, const QString& driver);
void RemoveQueue(const QString& name);

// The barcodes zbarimg reads in the image (saved as pngPath), sorted.
QStringList ReadBarcodes(const QImage& image, const QString& pngPath);

}  // namespace etiqo::test
