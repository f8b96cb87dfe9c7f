#pragma once
// The print job without any window: the printer and the copy count are known. Makes the label
// size the printer's default paper and sets its default copies (as the user's stored defaults),
// takes the printer's resolution into the label, renders one page (or one page per copy when a
// serial number counts), and queues them as one job named "docname".

#include <string>

#include "model/Label.h"
#include "print/LabelPage.h"
#include "print/PrintSpooler.h"
#include "print/PrinterConfig.h"

namespace etiqo {

struct PrintResult {
    enum class Status {
        Printed,
        Cancelled,           // the user closed the print dialog
        NothingToPrint,      // a copy count below 1
        PrinterUnavailable,  // no printer named, no such printer, print service down
        RenderFailed,        // the document could not be written
        SubmitFailed,        // the print service refused the job
    };
    Status status = Status::Printed;
    std::string error;  // one line when not printed
    int jobId = 0;
    int pages = 0;              // pages in the document
    int deviceCopies = 0;       // copies the printer makes of each page
    bool serialsMoved = false;  // the canvas should repaint
    explicit operator bool() const { return status == Status::Printed; }
};

class LabelPrintJob {
public:
    LabelPrintJob(PrinterConfig& printers, PrintSpooler& spooler, LabelPainter painter);

    PrintResult Print(Label& label, const std::string& printer, int copies);
    // A job of `pages` pages, each drawn anew by the painter (labels from data records), sent once.
    PrintResult PrintPages(Label& label, const std::string& printer, int pages);

    // The job's document name, as the queue shows it.
    static constexpr const char* kDocumentName = "docname";

private:
    PrintResult Run(Label& label, const std::string& printer, int copies, bool eachPageDrawn);

    PrinterConfig& m_printers;
    PrintSpooler& m_spooler;
    LabelPainter m_painter;
};

}  // namespace etiqo
