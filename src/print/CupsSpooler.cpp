#include "print/CupsSpooler.h"

#include <cups/cups.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "print/CupsHandles.h"

namespace etiqo {

namespace {

using cups::IppPtr;

// The job's state (IPP_JSTATE_*), or -1 with the reason when the scheduler cannot say.
int JobState(int jobId, std::string& reason) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const kWanted[] = {"job-state", "job-printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
    const IppPtr response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));  // frees the request
    ipp_attribute_t* state = response ? ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM) : nullptr;
    if (!state) {
        reason = cupsLastErrorString();
        return -1;
    }
    if (ipp_attribute_t* message =
            ippFindAttribute(response.get(), "job-printer-state-message", IPP_TAG_TEXT)) {
        reason = ippGetString(message, 0, nullptr);
    }
    return ippGetInteger(state, 0);
}

}  // namespace

int CupsSpooler::SubmitDocument(const std::string& printer, const std::string& documentPath,
                                const std::string& documentName, const JobOptions& options) {
    const cups::OptionList list(options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.c_str(), documentPath.c_str(),
                                   documentName.c_str(), list.Count(), list.Options());
    m_lastError = job > 0 ? std::string() : std::string(cupsLastErrorString());
    return job;
}

JobEnd CupsSpooler::WaitForJob(int jobId, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(5);
    for (;;) {
        std::string reason;
        switch (JobState(jobId, reason)) {
            case IPP_JSTATE_COMPLETED:
                return JobEnd::Completed;
            // A job whose filter failed stops the queue and stays "stopped": that is an end too.
            case IPP_JSTATE_STOPPED:
            case IPP_JSTATE_CANCELED:
            case IPP_JSTATE_ABORTED:
            case -1:
                m_lastError = reason;
                return JobEnd::Failed;
            default:
                break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return JobEnd::TimedOut;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

}  // namespace etiqo
