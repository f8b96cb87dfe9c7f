#pragma once
// What the user hears before a label goes to a printer: the printer takes no paper of the label's
// size, or part of the label lies where the printer cannot print. The designer asks whether to
// print anyway; the command line refuses the first unless told to go on.

#include <string>
#include <vector>

#include "model/Label.h"
#include "print/PrinterConfig.h"

namespace etiqo {

struct PrintCheck {
    PaperForm paper;          // the paper the job would use
    int dpiX = kFallbackDpi;  // the printer's resolution, which the job gives the label
    int dpiY = kFallbackDpi;
    std::vector<std::string> warnings;  // one line each, in the interface language
    bool paperUnavailable = false;
};

PrintCheck CheckBeforePrinting(PrinterConfig& printers, const Label& label, const std::string& printer);

// The part of a label of the paper's size that the printer can print, in dots at dpiX × dpiY (the
// whole label when it prints to every edge).
struct DotRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};
DotRect PrintableDots(const PaperForm& paper, int widthDots, int heightDots, int dpiX, int dpiY);

}  // namespace etiqo
