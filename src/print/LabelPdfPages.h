#pragma once
// A PDF of label pages: each page exactly the label's size, painted in the label's dots
// (one painter unit a dot at m_nDpiX × m_nDpiY), images kept lossless.

#include <QPainter>
#include <QPdfWriter>
#include <QString>

#include "model/Label.h"
#include "print/ExactPdfDevice.h"

namespace etiqo {

class LabelPdfPages {
public:
    // target must be open for writing and outlive this object.
    LabelPdfPages(QIODevice& target, const Label& label, const QString& title);

    // The painter of the next page (the first call opens page 1); null if the writer failed.
    QPainter* NextPage();
    // Ends the document; false when it could not be written.
    bool Finish();

private:
    ExactPdfDevice m_exact;
    QPdfWriter m_pdf;
    QPainter m_painter;
    double m_yScale;
};

}  // namespace etiqo
