#pragma once
// The private print service of the tests: declared with the helpers that use it.
#include "PrintTestSupport.h"
