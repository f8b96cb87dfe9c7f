#pragma once
// A long run of labels as several jobs of at most K labels each, so that a printer class (CUPS's
// way to spread jobs over several printers) keeps all of them busy. Serial numbers run on from job
// to job without a gap or a repeat whatever order the jobs finish in: each job's pages are drawn,
// numbers and all, before the next job is made.

#include <functional>
#include <string>
#include <vector>

#include "model/Label.h"
#include "print/LabelPrintJob.h"

namespace etiqo {

struct PrintRunResult {
    std::vector<PrintResult> jobs;  // every job queued, in order
    PrintResult failure;            // the job that could not be queued (status Printed: none failed)
    bool Ok() const { return failure.status == PrintResult::Status::Printed; }
};

// Prints `copies` labels as jobs of at most jobSize labels; `queued` hears of each job as it is
// queued. Stops at the first job that fails; the label's serial numbers then stand after the last
// label queued.
PrintRunResult PrintInJobs(LabelPrintJob& job, Label& label, const std::string& printer, int copies,
                           int jobSize, const std::function<void(const PrintResult&)>& queued = {});

}  // namespace etiqo
