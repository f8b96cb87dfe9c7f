#pragma once
// The scan check of a label's pages, rendered exactly as the print job renders them.

#include <functional>
#include <vector>

#include "check/LabelChecker.h"
#include "model/Label.h"
#include "print/LabelPage.h"

namespace etiqo {

// The page the label would print next, checked; serial numbers stay where they are.
PageCheck CheckNextPage(Label& label, const LabelPainter& painter, LabelChecker& checker);

// The pages a job of copies would print (one page, or one a copy when a serial number counts),
// each checked; serial numbers step as printing steps them.
std::vector<PageCheck> CheckJobPages(Label& label, const LabelPainter& painter, int copies,
                                     LabelChecker& checker);

}  // namespace etiqo
