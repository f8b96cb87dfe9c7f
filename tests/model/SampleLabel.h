#pragma once
// The sample label the repository ships (samples/sample.lab): one element of each common kind.
// make_sample_label writes it; a test checks that the committed file still matches.

#include "model/Label.h"

namespace etiqo::testing {

void FillSampleLabel(Label& label);

}  // namespace etiqo::testing
