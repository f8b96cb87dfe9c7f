#pragma once
// Labels and helpers shared by the print job tests.

#include <QByteArray>

#include <chrono>
#include <string>

#include "model/Label.h"
#include "print/LabelPage.h"

namespace etiqo::test {

// A label of the given size with a text element whose content serializes when mode is not 0.
Label MakeTextLabel(int widthMM, int heightMM, const std::string& text, int serialMode = 0);

// Draws each element as a black box with its content written in it, and steps serial numbers the
// way DrawLabel does: enough to see pages, sizes and counting without the element renderer.
bool DrawBoxes(QPainter& painter, Label& label);

// Waits for the job on the rig's queue and returns the queue's output file (empty on failure).
QByteArray WaitForQueueOutput(int jobId, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Adds a queue with the given driver that writes its jobs to output, or removes it again.
bool AddQueue(const char* name, const QString& output, const char* driver);
void RemoveQueue(const char* name);

}  // namespace etiqo::test
