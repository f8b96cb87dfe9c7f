#include "print/PdfMaskDocument.h"

#include <QDateTime>
#include <QIODevice>
#include <QStringEncoder>

namespace etiqo {

namespace {

constexpr int kCatalog = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;
constexpr qsizetype kChunk = 256 * 1024;

QByteArray Number(double value) {
    QByteArray text = QByteArray::number(value, 'f', 6);
    while (text.endsWith('0')) {
        text.chop(1);
    }
    if (text.endsWith('.')) {
        text.chop(1);
    }
    return text;
}

QByteArray Reference(int object) {
    return QByteArray::number(object) + " 0 R";
}

// A text string as PDF readers take any script: UTF-16BE with its byte order mark, in hex.
QByteArray TextString(const QString& text) {
    QStringEncoder utf16(QStringConverter::Utf16BE);
    const QByteArray bytes = utf16(text);
    return "<FEFF" + bytes.toHex().toUpper() + ">";
}

}  // namespace

PdfMaskDocument::PdfMaskDocument(QIODevice& target, QSizeF pageSize, int dpiX, int dpiY, const QString& title)
    : m_target(target), m_size(pageSize), m_dpiX(dpiX), m_dpiY(dpiY) {
    m_offsets.resize(kInfo + 1, 0);
    m_out.reserve(2 * kChunk);
    m_out += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";  // binary content follows
    m_offsets[kCatalog] = m_out.size();
    m_out += "1 0 obj\n<< /Type /Catalog /Pages " + Reference(kPageTree) + " >>\nendobj\n";
    m_offsets[kInfo] = m_out.size();
    m_out += "3 0 obj\n<< /Creator (Etiqo) /Title " + TextString(title) + " /CreationDate (D:" +
             QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
             "Z) >>\nendobj\n";
}

int PdfMaskDocument::BeginObject() {
    const int object = static_cast<int>(m_offsets.size());
    m_offsets.push_back(m_flushed + m_out.size());
    m_out += QByteArray::number(object) + " 0 obj\n";
    return object;
}

void PdfMaskDocument::EndObject() {
    m_out += "\nendobj\n";
}

bool PdfMaskDocument::Flush() {
    if (!m_failed && !m_out.isEmpty()) {
        m_failed = m_target.write(m_out) != m_out.size();
        m_flushed += m_out.size();
        m_out.resize(0);  // keeps its capacity
    }
    return !m_failed;
}

bool PdfMaskDocument::AddPage(int width, int height, const QByteArray& g4) {
    if (width <= 0 || height <= 0 || g4.isEmpty()) {
        return false;
    }
    const QByteArray w = QByteArray::number(width);
    const QByteArray h = QByteArray::number(height);
    const int image = BeginObject();
    // The coder's black reads back as 0, which an image mask paints.
    m_out += "<< /Type /XObject /Subtype /Image /Width " + w + " /Height " + h +
             " /ImageMask true /BitsPerComponent 1 /Filter /CCITTFaxDecode /DecodeParms << /K -1 /Columns " +
             w + " /Rows " + h + " >> /Length " + QByteArray::number(g4.size()) + " >>\nstream\n";
    m_out += g4;
    m_out += "\nendstream";
    EndObject();
    return PageFor(image, width, height);
}

bool PdfMaskDocument::RepeatPage() {
    return m_image != 0 && PageFor(m_image, m_imageWidth, m_imageHeight);
}

bool PdfMaskDocument::PageFor(int image, int width, int height) {
    if (m_contents == 0 || width != m_imageWidth || height != m_imageHeight) {
        // The image's unit square scaled to its dots and hung from the page's top edge, measured
        // downward from it so that the top row starts exactly there whatever the rounding.
        const double w = width * 72.0 / m_dpiX;
        const QByteArray h = Number(height * 72.0 / m_dpiY);
        const QByteArray draw = "q 1 0 0 -1 0 " + Number(m_size.height()) + " cm " + Number(w) + " 0 0 -" +
                                h + " 0 " + h + " cm /Im Do Q";
        m_contents = BeginObject();
        m_out += "<< /Length " + QByteArray::number(draw.size()) + " >>\nstream\n" + draw + "\nendstream";
        EndObject();
    }
    m_image = image;
    m_imageWidth = width;
    m_imageHeight = height;
    m_pages.push_back(BeginObject());
    m_out += "<< /Type /Page /Parent " + Reference(kPageTree) + " /MediaBox [0 0 " + Number(m_size.width()) +
             " " + Number(m_size.height()) + "] /Resources << /XObject << /Im " + Reference(image) +
             " >> >> /Contents " + Reference(m_contents) + " >>";
    EndObject();
    return m_out.size() < kChunk || Flush();
}

bool PdfMaskDocument::Finish() {
    m_offsets[kPageTree] = m_flushed + m_out.size();
    m_out += "2 0 obj\n<< /Type /Pages /Count " + QByteArray::number(static_cast<qsizetype>(m_pages.size())) +
             " /Kids [";
    for (const int page : m_pages) {
        m_out += Reference(page) + ' ';
        if (m_out.size() >= kChunk && !Flush()) {
            return false;
        }
    }
    m_out += "] >>\nendobj\n";
    const qint64 table = m_flushed + m_out.size();
    m_out +=
        "xref\n0 " + QByteArray::number(static_cast<qsizetype>(m_offsets.size())) + "\n0000000000 65535 f \n";
    for (std::size_t i = 1; i < m_offsets.size(); ++i) {
        m_out += QByteArray::number(m_offsets[i]).rightJustified(10, '0') + " 00000 n \n";
        if (m_out.size() >= kChunk && !Flush()) {
            return false;
        }
    }
    m_out += "trailer\n<< /Size " + QByteArray::number(static_cast<qsizetype>(m_offsets.size())) + " /Root " +
             Reference(kCatalog) + " /Info " + Reference(kInfo) + " >>\nstartxref\n" +
             QByteArray::number(table) + "\n%%EOF\n";
    return Flush();
}

}  // namespace etiqo
