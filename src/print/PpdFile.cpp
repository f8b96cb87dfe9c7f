#include "print/PpdFile.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <cmath>

#include "print/CupsHandles.h"

namespace etiqo {

// The PPD API is deprecated but kept by CUPS for exactly these drivers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

void PpdCloser::operator()(ppd_file_s* ppd) const {
    ppdClose(ppd);
}

PpdPtr PrinterPpd(const std::string& printer) {
    const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, printer.c_str());
    if (!file) {
        return nullptr;
    }
    PpdPtr ppd(ppdOpenFile(file));
    ::unlink(file);
    return ppd;
}

std::optional<PageMargins100> PpdPageMargins(ppd_file_s* ppd, const JobOptions& options) {
    const cups::OptionList list(options);
    ppdMarkDefaults(ppd);
    cupsMarkOptions(ppd, list.Count(), list.Options());
    const ppd_size_t* size = ppdPageSize(ppd, nullptr);
    if (!size || size->width <= 0 || size->length <= 0) {
        return std::nullopt;
    }
    const auto hundredths = [](float points) {
        return std::max(0, static_cast<int>(std::lround(points * 2540.0f / 72.0f)));
    };
    return PageMargins100{hundredths(size->left), hundredths(size->length - size->top),
                          hundredths(size->width - size->right), hundredths(size->bottom)};
}

#pragma GCC diagnostic pop

}  // namespace etiqo
