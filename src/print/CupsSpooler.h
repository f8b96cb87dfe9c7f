#pragma once
// The print spooler on libcups.

#include "print/PrintSpooler.h"

namespace etiqo {

class CupsSpooler final : public PrintSpooler {
public:
    int SubmitDocument(const std::string& printer, const std::string& documentPath,
                       const std::string& documentName, const JobOptions& options) override;
    JobEnd WaitForJob(int jobId, std::chrono::milliseconds timeout) override;
    std::string LastError() const override { return m_lastError; }

private:
    std::string m_lastError;
};

}  // namespace etiqo
