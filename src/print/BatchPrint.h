#pragma once
// Batch printing: every queued label file in order, each as its own job on the printer the file
// names (the user is asked once for a printer when a file names none). A file that cannot be
// read is listed and skipped; a job that fails is listed; nothing but the user's cancel stops the
// run. The queue is consumed from the front, so a cancelled run leaves the rest queued.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Label.h"
#include "print/LabelPrintJob.h"

namespace etiqo {

struct BatchJob {
    std::string file;
    std::string printer;
    int jobId = 0;
};

struct BatchReport {
    int printed = 0;
    std::vector<BatchJob> jobs;           // in the order they were queued
    std::vector<std::string> unreadable;  // "<file>: <reason>"
    std::vector<std::string> notPrinted;  // "<file>: <reason>"
    bool cancelled = false;
};

struct BatchHooks {
    // Puts a queued file onto the label (the canvas adds what its own loading does); an error
    // line when the file cannot be read, the label then being left as it was.
    std::function<std::optional<std::string>(Label& label, const std::string& file)> load;
    // The printer for files naming none; asked at most once per run, nullopt when declined.
    std::function<std::optional<std::string>()> askPrinter;
    // Before a label goes to its printer: nullopt to print it, else why it is skipped (the user
    // declined to print it on a printer without its paper, say).
    std::function<std::optional<std::string>(const Label& label, const std::string& printer)> confirm;
    // Before each file: done files, all files, the next one. False cancels the run.
    std::function<bool(int done, int total, const std::string& file)> progress;
};

// A label file read onto the label as the batch command reads it: size (which drops the old
// elements), printer name and records; the label's file name and undo state stay.
std::optional<std::string> LoadQueuedLabel(Label& label, const std::string& file);

BatchReport RunBatch(Label& label, std::deque<std::string>& queue, LabelPrintJob& job,
                     const BatchHooks& hooks);

}  // namespace etiqo
