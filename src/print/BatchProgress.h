#pragma once
// The designer's batch run: batch printing with a progress dialog and the questions it asks.

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "print/BatchPrint.h"

class QWidget;

namespace etiqo {

// The designer's batch run: a progress dialog that can cancel, the print dialog when a file names
// no printer, and at the end a message listing what could not be read or printed. load defaults
// to LoadQueuedLabel.
BatchReport PrintBatch(QWidget* parent, Label& label, std::deque<std::string>& queue,
                       const LabelPainter& painter,
                       std::function<std::optional<std::string>(Label&, const std::string&)> load = {});

}  // namespace etiqo
