#include "print/PrintRun.h"

#include <algorithm>

namespace etiqo {

PrintRunResult PrintInJobs(LabelPrintJob& job, Label& label, const std::string& printer, int copies,
                           int jobSize, const std::function<void(const PrintResult&)>& queued) {
    PrintRunResult run;
    const int size = jobSize > 0 ? jobSize : std::max(copies, 1);
    for (int left = copies; left > 0 || run.jobs.empty();) {
        const int labels = std::min(left, size);
        // A job that fails after drawing its pages has moved the numbers of labels never printed.
        std::vector<Element> before;
        before.reserve(label.m_elements.size());
        for (const ElementPtr& element : label.m_elements) {
            before.push_back(CopyElement(*element));
        }
        PrintResult result = job.Print(label, printer, labels);
        if (!result) {
            for (std::size_t i = 0; i < before.size() && i < label.m_elements.size(); ++i) {
                *label.m_elements[i] = before[i];
            }
            run.failure = std::move(result);
            return run;
        }
        if (queued) {
            queued(result);
        }
        run.jobs.push_back(std::move(result));
        left -= labels;
    }
    return run;
}

}  // namespace etiqo
