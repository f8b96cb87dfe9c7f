#pragma once
// A PDF of label pages: each page exactly the given size, painted in dots (one painter unit a dot
// at dpiX × dpiY), images kept lossless. Both the exported PDF and the print job's PDF are made here.

#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>
#include <QString>

#include "print/ExactPdfDevice.h"

namespace etiqo {

class LabelPdfPages {
public:
    // target must be open for writing and outlive this object.
    LabelPdfPages(QIODevice& target, QSizeF millimetres, int dpiX, int dpiY, const QString& title);

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
