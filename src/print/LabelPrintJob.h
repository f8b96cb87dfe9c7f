#pragma once
// The print job without any window: the printer and the copy count are known. Makes the label
// size the printer's default paper and sets its default copies (as the user's stored defaults),
// takes the printer's resolution into the label, renders one page (or one page per copy when a
// serial number counts), and queues them as one job named "docname".

#include <functional>
#include <string>
#include <vector>

#include "check/LabelChecker.h"
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
        CheckRefused,        // a code would not scan and sending it anyway was declined
        PaperUnavailable,    // the printer takes no paper of the label's size (nothing was changed)
    };
    Status status = Status::Printed;
    std::string error;  // one line when not printed
    int jobId = 0;
    int pages = 0;              // pages in the document
    int deviceCopies = 0;       // copies the printer makes of each page
    bool serialsMoved = false;  // the canvas should repaint
    explicit operator bool() const { return status == Status::Printed; }
};

// A page whose codes would not scan right, numbered from 1.
struct FailingPage {
    int page = 0;
    PageCheck check;
};
// Asked, when a page fails the scan check, whether the job is sent all the same.
using CheckApproval = std::function<bool(const std::vector<FailingPage>& failing)>;

class LabelPrintJob {
public:
    LabelPrintJob(PrinterConfig& printers, PrintSpooler& spooler, LabelPainter painter);

    // Checks every page as it is rendered, before the job is queued (a page whose codes did not
    // change is not decoded again). With failing pages the job is sent only when approve says so;
    // otherwise serial numbers go back to where they stood and nothing is queued.
    void SetCheck(LabelChecker* checker, CheckApproval approve) {
        m_checker = checker;
        m_approve = std::move(approve);
    }
    // For a painter that draws other records than the label's own (one per data record): the
    // records as drawn on the page just rendered, for the check.
    void SetDrawnElements(std::function<std::vector<DrawnElement>()> drawn) { m_drawn = std::move(drawn); }

    PrintResult Print(Label& label, const std::string& printer, int copies);
    // A job of `pages` pages, each drawn anew by the painter (labels from data records), sent once.
    PrintResult PrintPages(Label& label, const std::string& printer, int pages);

    // Prints even on a printer that takes no paper of the label's size (its driver then chooses
    // the paper); its stored defaults still keep their paper.
    void AllowUnavailablePaper(bool allow) { m_allowUnavailablePaper = allow; }

    // The job's document name, as the queue shows it.
    static constexpr const char* kDocumentName = "docname";

private:
    PrintResult Run(Label& label, const std::string& printer, int copies, bool eachPageDrawn);

    PrinterConfig& m_printers;
    PrintSpooler& m_spooler;
    LabelPainter m_painter;
    LabelChecker* m_checker = nullptr;
    CheckApproval m_approve;
    std::function<std::vector<DrawnElement>()> m_drawn;
    bool m_allowUnavailablePaper = false;
};

}  // namespace etiqo
