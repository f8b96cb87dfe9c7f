#pragma once
// The scan check of a label's pages, rendered exactly as the print job renders them.

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

// One page drawn and checked as it stands (a record's page of a data source); serial numbers step.
PageCheck CheckDrawnPage(Label& page, const LabelPainter& painter, LabelChecker& checker);

}  // namespace etiqo
