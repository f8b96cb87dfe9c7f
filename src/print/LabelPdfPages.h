#pragma once
// A PDF of label pages: each page exactly the label's size (in points as fractions, never
// rounded) and filled by the page's dots, one image pixel a printer dot, kept as a lossless
// 1-bit stencil. Both the exported PDF and the print job's PDF are made here, on a thread of its
// own: the caller draws the next page while the last is compressed.

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

class QIODevice;

namespace etiqo {

class LabelPdfPages {
public:
    // target must be open for writing and outlive this object; it is written from the writer's
    // thread until Finish().
    LabelPdfPages(QIODevice& target, QSizeF millimetres, int dpiX, int dpiY, const QString& title);
    ~LabelPdfPages();
    LabelPdfPages(const LabelPdfPages&) = delete;
    LabelPdfPages& operator=(const LabelPdfPages&) = delete;

    // Queues the next page: an image of the label's dots (any format; ink is what is darker than
    // half way). False once the document has failed.
    bool AddPage(QImage dots);
    // A white grey page of size that the writer has finished with, to draw the next page on; null
    // when none is ready.
    QImage TakeBlankPage(QSize size);
    // Ends the document; false when it could not be written.
    bool Finish();

private:
    class Writer;
    std::unique_ptr<Writer> m_writer;
};

// The page size in points of a label of widthMM × heightMM.
QSizeF LabelSizeInPoints(double widthMM, double heightMM);

}  // namespace etiqo
