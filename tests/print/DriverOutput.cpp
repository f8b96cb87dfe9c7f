#include "DriverOutput.h"

#include <QTemporaryFile>

#include <cups/raster.h>

#include <cstring>

#include <gtest/gtest.h>

#include "ZplGraphic.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/Serial.h"

namespace etiqo::test {

namespace {

// Rows of packed bits (bit 7 of byte 0 is the first dot) growing downwards as a job sends them.
class DotRows {
public:
    explicit DotRows(int bytesPerRow = 0) : m_bytesPerRow(bytesPerRow) {}
    int BytesPerRow() const { return m_bytesPerRow; }
    void SetBytesPerRow(int bytes) { m_bytesPerRow = bytes; }
    int Rows() const { return static_cast<int>(m_rows.size()); }
    // Row y, created blank (with every row above it) when new.
    QByteArray& Row(int y) {
        while (Rows() <= y) {
            m_rows.push_back(QByteArray(m_bytesPerRow, 0));
        }
        return m_rows[static_cast<std::size_t>(y)];
    }
    // The image, `height` rows tall when given (cut or padded), else as many rows as were sent.
    QImage Image(int width, int height) const {
        const int w = width > 0 ? width : m_bytesPerRow * 8;
        const int h = height > 0 ? height : Rows();
        QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        image.fill(0);
        for (int y = 0; y < std::min(h, Rows()); ++y) {
            const QByteArray& row = m_rows[static_cast<std::size_t>(y)];
            std::memcpy(image.scanLine(y), row.constData(),
                        static_cast<std::size_t>(std::min<qsizetype>(row.size(), image.bytesPerLine())));
        }
        return image;  // dots past the stated width lie outside it
    }

private:
    int m_bytesPerRow = 0;
    std::vector<QByteArray> m_rows;
};

// A cursor over the job's bytes.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}
    bool AtEnd() const { return m_pos >= m_data.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_data[m_pos]; }
    char Next() { return AtEnd() ? '\0' : m_data[m_pos++]; }
    bool Take(int count, QByteArray& out) {
        if (count < 0 || m_pos + count > m_data.size()) {
            return false;
        }
        out = m_data.mid(m_pos, count);
        m_pos += count;
        return true;
    }
    // The text up to the end of the line (without "\r\n").
    QByteArray Line() {
        const qsizetype end = m_data.indexOf('\n', m_pos);
        const qsizetype stop = end < 0 ? m_data.size() : end;
        QByteArray line = m_data.mid(m_pos, stop - m_pos);
        m_pos = end < 0 ? m_data.size() : end + 1;
        while (line.endsWith('\r')) {
            line.chop(1);
        }
        return line;
    }
    // A decimal number (with an optional sign); nullopt when none is there.
    std::optional<int> Number() {
        const qsizetype start = m_pos;
        if (Peek() == '-' || Peek() == '+') {
            ++m_pos;
        }
        while (!AtEnd() && ((m_data[m_pos] >= '0' && m_data[m_pos] <= '9') || m_data[m_pos] == '.')) {
            ++m_pos;
        }
        bool ok = false;
        const int value = static_cast<int>(m_data.mid(start, m_pos - start).toDouble(&ok));
        return ok ? std::optional(value) : std::nullopt;
    }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

std::optional<std::vector<PrintedPage>> DecodeZpl(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    for (const ZplPage& zpl : DecodeZplJob(job)) {
        if (zpl.graphic.isNull()) {
            return std::nullopt;
        }
        pages.push_back({zpl.graphic, zpl.quantity, zpl.printWidth, zpl.graphic.height()});
    }
    return pages;
}

// EPL2 page mode: "N" starts a label, "q<width>" sets it, "GWx,y,bytes,rows" and raw rows follow,
// "P<n>" prints it n times.
std::optional<std::vector<PrintedPage>> DecodeEpl2(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    int width = 0;
    while (!in.AtEnd()) {
        const QByteArray line = in.Line();
        if (line == "N") {
            rows = DotRows();
            width = 0;
        } else if (line.startsWith('q')) {
            width = line.mid(1).toInt();
            rows.SetBytesPerRow((width + 7) / 8);
        } else if (line.startsWith("GW")) {
            const QList<QByteArray> f = line.mid(2).split(',');
            if (f.size() != 4 || f[0].toInt() != 0 || f[2].toInt() != rows.BytesPerRow()) {
                return std::nullopt;
            }
            const int y = f[1].toInt();
            for (int r = 0; r < f[3].toInt(); ++r) {
                QByteArray data;
                if (!in.Take(rows.BytesPerRow(), data)) {
                    return std::nullopt;
                }
                QByteArray& row = rows.Row(y + r);
                for (int i = 0; i < data.size(); ++i) {
                    row[i] = static_cast<char>(~data[i]);  // EPL burns a cleared bit
                }
            }
            in.Line();  // the row's line end
        } else if (line.startsWith('P') && line.size() > 1) {
            pages.push_back({rows.Image(width, 0), line.mid(1).toInt(), width, 0});
        }
    }
    return pages;
}

// EPL1 line mode: ESC B buffers, "ESC g NNN" and NNN bytes a row, ESC E and a form feed end a label.
std::optional<std::vector<PrintedPage>> DecodeEplLine(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c != '\x1b') {
            continue;
        }
        const char command = in.Next();
        if (command == 'g') {
            QByteArray count;
            QByteArray data;
            if (!in.Take(3, count) || !in.Take(count.toInt(), data)) {
                return std::nullopt;
            }
            rows.SetBytesPerRow(static_cast<int>(data.size()));
            rows.Row(rows.Rows()) = data;
        } else if (command == 'E') {
            pages.push_back({rows.Image(0, 0), 1, 0, rows.Rows()});
            rows = DotRows();
        } else if (command == 'S' || command == 'D' || command == 'M') {
            in.Number();
        }
    }
    return pages;
}

// CPCL: "! 0 xres yres height copies", PAGE-WIDTH, "CG bytes rows x y" and the raw rows, PRINT.
std::optional<std::vector<PrintedPage>> DecodeCpcl(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    PrintedPage page;
    while (!in.AtEnd()) {
        if (in.Peek() == 'C') {
            // "CG " rows carry raw bytes: read the numbers, then the data by its length.
            QByteArray head;
            while (!in.AtEnd() && head.count(' ') < 5) {
                head.append(in.Next());
            }
            if (head.startsWith("CG ")) {
                const QList<QByteArray> f = head.mid(3).trimmed().split(' ');
                if (f.size() != 4 || f[2].toInt() != 0) {
                    return std::nullopt;
                }
                const int bytes = f[0].toInt();
                rows.SetBytesPerRow(std::max(rows.BytesPerRow(), bytes));
                for (int r = 0; r < f[1].toInt(); ++r) {
                    QByteArray data;
                    if (!in.Take(bytes, data)) {
                        return std::nullopt;
                    }
                    rows.Row(f[3].toInt() + r).replace(0, bytes, data);
                }
                in.Line();
                continue;
            }
            head.append(in.Line());
            if (head.startsWith("CUT")) {
                continue;
            }
            return std::nullopt;
        }
        const QByteArray line = in.Line();
        if (line.startsWith("! ")) {
            const QList<QByteArray> f = line.mid(2).split(' ');
            if (f.size() != 5) {
                return std::nullopt;
            }
            page = PrintedPage{};
            page.height = f[3].toInt();
            page.copies = f[4].toInt();
            rows = DotRows();
        } else if (line.startsWith("PAGE-WIDTH ")) {
            page.width = line.mid(11).toInt();
            rows.SetBytesPerRow((page.width + 7) / 8);
        } else if (line == "PRINT") {
            page.dots = rows.Image(page.width, page.height);
            pages.push_back(page);
        }
    }
    return pages;
}

// DYMO: ESC L (label length, 2 bytes), ESC D (bytes a row), SYN and a row, ESC f 1 n (n blank
// rows), ESC E ejects.
std::optional<std::vector<PrintedPage>> DecodeDymo(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    int length = 0;
    int y = 0;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == '\x16') {
            QByteArray data;
            if (rows.BytesPerRow() <= 0 || !in.Take(rows.BytesPerRow(), data)) {
                return std::nullopt;
            }
            rows.Row(y++) = data;
            continue;
        }
        if (c != '\x1b') {
            return std::nullopt;
        }
        const char command = in.Next();
        QByteArray args;
        if (command == 'L') {
            if (!in.Take(2, args)) {
                return std::nullopt;
            }
            length = static_cast<uchar>(args[0]) << 8 | static_cast<uchar>(args[1]);
        } else if (command == 'D') {
            if (!in.Take(1, args)) {
                return std::nullopt;
            }
            rows = DotRows(static_cast<uchar>(args[0]));
            y = 0;
        } else if (command == 'q') {  // media roll
            if (!in.Take(1, args)) {
                return std::nullopt;
            }
        } else if (command == 'f') {
            if (!in.Take(2, args)) {
                return std::nullopt;
            }
            y += static_cast<uchar>(args[1]);
        } else if (command == 'E') {
            pages.push_back({rows.Image(0, 0), 1, rows.BytesPerRow() * 8, length});
        }
        // ESC @ (reset), ESC ESC (padding) and ESC c..h (darkness) carry nothing more.
    }
    return pages;
}

// PCL as the Intellitech driver writes it: ESC&l<n>X copies, ESC*r<n>S width, ESC*r<n>T height,
// ESC*b<n>W rows in delta-row compression (mode 3) against the previous row, ESC*b<n>Y blank
// rows, FF ejects.
bool ApplyDeltaRow(const QByteArray& data, QByteArray& seed) {
    int pos = 0;
    for (int i = 0; i < data.size();) {
        const auto command = static_cast<uchar>(data[i++]);
        const int count = (command >> 5) + 1;
        int offset = command & 31;
        if (offset == 31) {
            uchar more = 255;
            while (more == 255 && i < data.size()) {
                more = static_cast<uchar>(data[i++]);
                offset += more;
            }
        }
        pos += offset;
        if (pos + count > seed.size() || i + count > data.size()) {
            return false;
        }
        seed.replace(pos, count, data.mid(i, count));
        i += count;
        pos += count;
    }
    return true;
}

std::optional<std::vector<PrintedPage>> DecodePcl(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    PrintedPage page;
    QByteArray seed;
    int y = 0;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == '\f') {
            page.dots = rows.Image(page.width, page.height);
            pages.push_back(page);
            page = PrintedPage{};
            continue;
        }
        if (c != '\x1b') {
            return std::nullopt;
        }
        const char group = in.Next();
        if (group < '!' || group > '/') {
            continue;  // ESC E and other two-byte commands
        }
        const char family = in.Next();
        for (;;) {
            const int value = in.Number().value_or(0);
            const char letter = in.Next();
            const char command = static_cast<char>(letter & ~0x20);
            const QByteArray key = QByteArray(1, group) + family + command;
            if (key == "&lX") {
                page.copies = value;
            } else if (key == "*rS") {
                page.width = value;
                rows = DotRows((value + 7) / 8);
                seed = QByteArray(rows.BytesPerRow(), 0);
                y = 0;
            } else if (key == "*rT") {
                page.height = value;
            } else if (key == "*bY") {
                y += value;
                seed.fill(0);
            } else if (key == "*bW") {
                QByteArray data;
                if (!in.Take(value, data) || !ApplyDeltaRow(data, seed)) {
                    return std::nullopt;
                }
                rows.Row(y++) = seed;
            }
            if (letter >= 'A' && letter <= 'Z') {
                break;
            }
            if (!(letter >= 'a' && letter <= 'z')) {
                return std::nullopt;
            }
        }
    }
    return pages;
}

// Brother QL raster: ESC @, ESC i commands, "g"/"G" + 2 length bytes + a PackBits row, "Z" a blank
// row, FF ends a page and SUB the last. Rows run across the tape; the first byte is the far edge.
bool UnpackBits(const QByteArray& data, QByteArray& out) {
    out.clear();
    for (int i = 0; i < data.size();) {
        const int n = static_cast<signed char>(data[i++]);
        if (n >= 0) {
            if (i + n + 1 > data.size()) {
                return false;
            }
            out.append(data.mid(i, n + 1));
            i += n + 1;
        } else if (n != -128) {
            if (i >= data.size()) {
                return false;
            }
            out.append(QByteArray(1 - n, data[i++]));
        }
    }
    return true;
}

std::optional<std::vector<PrintedPage>> DecodePtouchQl(const QByteArray& job) {
    std::vector<PrintedPage> pages;
    Reader in(job);
    DotRows rows;
    bool compressed = false;
    while (!in.AtEnd()) {
        const char c = in.Next();
        QByteArray args;
        switch (c) {
            case '\0':
                break;  // the invalidate run before the job
            case '\x1b': {
                const char command = in.Next();
                if (command == 'i') {
                    const char sub = in.Next();
                    const int length = sub == 'z'   ? 10
                                       : sub == 'd' ? 2
                                       : sub == 'A' || sub == 'M' || sub == 'K' || sub == 'a' || sub == 'S'
                                           ? 1
                                           : 0;
                    if (sub == 'S') {
                        break;  // a status request carries nothing
                    }
                    if (!in.Take(length, args)) {
                        return std::nullopt;
                    }
                } else if (command != '@') {
                    return std::nullopt;
                }
                break;
            }
            case 'M':
                if (!in.Take(1, args)) {
                    return std::nullopt;
                }
                compressed = args[0] == 2;
                break;
            case 'g':
            case 'G': {
                QByteArray length;
                QByteArray data;
                if (!in.Take(2, length)) {
                    return std::nullopt;
                }
                const int n = c == 'g' ? static_cast<uchar>(length[1])
                                       : static_cast<uchar>(length[0]) | static_cast<uchar>(length[1]) << 8;
                QByteArray row;
                if (!in.Take(n, args) || !(compressed ? UnpackBits(args, row) : (row = args, true))) {
                    return std::nullopt;
                }
                rows.SetBytesPerRow(std::max(rows.BytesPerRow(), static_cast<int>(row.size())));
                rows.Row(rows.Rows()) = row;
                break;
            }
            case 'Z':
                rows.Row(rows.Rows());
                break;
            case '\f':
            case '\x1a':
                pages.push_back({rows.Image(0, 0), 1, rows.BytesPerRow() * 8, rows.Rows()});
                rows = DotRows(rows.BytesPerRow());
                break;
            default:
                return std::nullopt;
        }
    }
    return pages;
}

// PWG raster through libcups' own reader: a set bit (1 bit, black) or a dark byte (grey) burns.
std::optional<std::vector<PrintedPage>> DecodePwg(const QByteArray& job) {
    QTemporaryFile file;
    if (!file.open() || file.write(job) != job.size() || !file.flush() || !file.seek(0)) {
        return std::nullopt;
    }
    cups_raster_t* raster = cupsRasterOpen(file.handle(), CUPS_RASTER_READ);
    if (!raster) {
        return std::nullopt;
    }
    std::vector<PrintedPage> pages;
    cups_page_header2_t header;
    bool ok = true;
    while (ok && cupsRasterReadHeader2(raster, &header)) {
        const bool bits = header.cupsBitsPerPixel == 1;
        if (!(bits || header.cupsBitsPerPixel == 8) || header.cupsWidth == 0 || header.cupsHeight == 0) {
            ok = false;
            break;
        }
        DotRows rows(static_cast<int>((header.cupsWidth + 7) / 8));
        std::vector<unsigned char> line(header.cupsBytesPerLine);
        for (unsigned y = 0; y < header.cupsHeight && ok; ++y) {
            ok =
                cupsRasterReadPixels(raster, line.data(), header.cupsBytesPerLine) == header.cupsBytesPerLine;
            QByteArray& row = rows.Row(static_cast<int>(y));
            for (unsigned x = 0; x < header.cupsWidth; ++x) {
                const bool black = bits ? (line[x / 8] & (0x80 >> (x % 8))) != 0 : line[x] < 128;
                if (black) {
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
                }
            }
        }
        pages.push_back({rows.Image(static_cast<int>(header.cupsWidth), static_cast<int>(header.cupsHeight)),
                         static_cast<int>(std::max(header.NumCopies, 1u)), static_cast<int>(header.cupsWidth),
                         static_cast<int>(header.cupsHeight), static_cast<int>(header.cupsBitsPerPixel)});
        pages.back().media = header.cupsPageSizeName;
    }
    cupsRasterClose(raster);
    return ok ? std::optional(pages) : std::nullopt;
}

}  // namespace

std::optional<std::vector<PrintedPage>> DecodePrinterJob(PrinterLanguage language, const QByteArray& job) {
    // In the order of PrinterLanguage.
    using Decoder = std::optional<std::vector<PrintedPage>> (*)(const QByteArray&);
    static constexpr Decoder kDecoders[] = {DecodeZpl,  DecodeEpl2, DecodeEplLine,  DecodeCpcl,
                                            DecodeDymo, DecodePcl,  DecodePtouchQl, DecodePwg};
    const auto index = static_cast<std::size_t>(language);
    return index < std::size(kDecoders) ? kDecoders[index](job) : std::nullopt;
}

QString SaveSerialCodeLabel(const QString& dir, int widthMM, int heightMM, const char* first, int x, int y) {
    Label label;
    label.SetLabelSize(widthMM, heightMM);
    Element code = MakeBarcodeElement(x, y, first);
    code.nSerialMode = kSerialIncrement;
    label.Append(code);
    const QString file = dir + QStringLiteral("/serial.lab");
    EXPECT_TRUE(SaveLabelFile(label, file.toStdString()));
    return file;
}

}  // namespace etiqo::test
