#pragma once
// The document a print job sends: one PDF page per label, each page exactly the paper and filled
// by the label's 1-bit image at the printer's resolution, one image pixel per printer dot.

#include <QImage>
#include <QString>

#include <functional>

#include "print/PaperForms.h"

namespace etiqo {

struct PdfPageSetup {
    MediaSize100 paper;  // the page, hundredths of a millimetre
    int dpiX = 203;      // the printer's resolution: image pixels per inch
    int dpiY = 203;
};

// Writes pages page(0) … page(count − 1) to path (the file is replaced). False when it could not
// be written or a page came back null.
bool WriteLabelPdf(const QString& path, const PdfPageSetup& setup, int count,
                   const std::function<QImage(int)>& page);

}  // namespace etiqo
