#pragma once
// Hands finished documents to the printer's queue and tells how their jobs ended.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace etiqo {

using JobOptions = std::vector<std::pair<std::string, std::string>>;  // name, value

enum class JobEnd {
    Completed,  // the printer has everything
    Failed,     // stopped, cancelled or aborted
    TimedOut,   // still queued or printing
};

class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;

    // Queues a document (a PDF or CUPS raster; the print service tells them apart by their first
    // bytes) as one job under the document name; returns the job id, or 0 with
    // LastError() set. The job carries its own options: print services apply the user's stored
    // defaults only to some clients.
    virtual int SubmitDocument(const std::string& printer, const std::string& documentPath,
                               const std::string& documentName, const JobOptions& options) = 0;

    virtual JobEnd WaitForJob(int jobId, std::chrono::milliseconds timeout) = 0;

    virtual std::string LastError() const = 0;
};

}  // namespace etiqo
