#pragma once
// A printer's PPD, for the drivers that still describe themselves with one (label printer drivers
// do): its page layout for a job's options.

#include <memory>
#include <optional>
#include <string>

#include "print/PrintSpooler.h"

struct ppd_file_s;  // libcups' PPD; its header is the deprecated PPD API

namespace etiqo {

struct PpdCloser {
    void operator()(ppd_file_s* ppd) const;
};
using PpdPtr = std::unique_ptr<ppd_file_s, PpdCloser>;

// The printer's PPD, fetched into a temporary file that is gone again when this returns; null for
// a driverless or raw queue.
PpdPtr PrinterPpd(const std::string& printer);

// What the driver cannot print at each edge of the page a job with these options gets,
// hundredths of a millimetre.
struct PageMargins100 {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
std::optional<PageMargins100> PpdPageMargins(ppd_file_s* ppd, const JobOptions& options);

}  // namespace etiqo
