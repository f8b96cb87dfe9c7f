#pragma once
// ZPL jobs are read back with the other printer languages.
#include "DriverOutput.h"
