#pragma once
// A PDF whose every page is one 1-bit image painted black: what a label page is once printed.
// Written as it goes, each object once, the page tree and the cross-reference table at the end, so
// a document of 100,000 pages holds only their object numbers. Such a PDF is small enough to write
// directly; cairo's PDF surface, which wrote it before, cost a data run a tenth of its time (a
// surface, a deflated content stream and a fresh zlib state per page).

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <vector>

class QIODevice;

namespace etiqo {

class PdfMaskDocument {
public:
    // target must be open for writing; pageSize in points, exact; dpi places the dots.
    PdfMaskDocument(QIODevice& target, QSizeF pageSize, int dpiX, int dpiY, const QString& title);

    // The next page: width × height dots, CCITT G4 coded with black as ink, from the top left
    // corner at the document's resolution.
    bool AddPage(int width, int height, const QByteArray& g4);
    // The next page, the previous one's image again (stored once).
    bool RepeatPage();
    // Writes the page tree and the cross-reference table; false when any write failed.
    bool Finish();

private:
    int BeginObject();
    void EndObject();
    bool Flush();
    bool PageFor(int image, int width, int height);

    QIODevice& m_target;
    QSizeF m_size;
    int m_dpiX;
    int m_dpiY;
    QByteArray m_out;      // written in chunks, not object by object
    qint64 m_flushed = 0;  // bytes already handed to the target
    bool m_failed = false;
    std::vector<qint64> m_offsets{0};  // by object number; object 0 is the free list's head
    std::vector<int> m_pages;          // page object numbers
    int m_image = 0;                   // the last page's image object
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_contents = 0;  // the content stream that draws an image of the last size
};

}  // namespace etiqo
