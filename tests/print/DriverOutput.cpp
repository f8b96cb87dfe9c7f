#include "DriverOutput.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <cups/raster.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <utility>

namespace etiqo::test {

namespace {

using Pages = std::vector<PrintedPage>;

// Thrown where the data is not a well-formed job: every decoder then answers nullopt.
struct BadJob {};
void Require(bool wellFormed) {
    if (!wellFormed) {
        throw BadJob{};
    }
}

// Rows of packed bits (bit 7 of byte 0 is the first dot) growing downwards as a job sends them.
struct DotRows {
    int bytesPerRow = 0;
    std::vector<QByteArray> rows = {};

    int Rows() const { return static_cast<int>(rows.size()); }
    // Row y, created blank (with every row above it) when new.
    QByteArray& Row(int y) {
        while (Rows() <= y) {
            rows.push_back(QByteArray(bytesPerRow, '\0'));
        }
        return rows[static_cast<std::size_t>(y)];
    }
    QByteArray& Append() { return Row(Rows()); }
    void Widen(qsizetype bytes) { bytesPerRow = std::max(bytesPerRow, static_cast<int>(bytes)); }
    // The image, `height` rows tall when given (cut or padded), else as many rows as were sent.
    QImage Image(int width = 0, int height = 0) const {
        const int w = width > 0 ? width : bytesPerRow * 8;
        const int h = height > 0 ? height : Rows();
        QImage image(std::max(w, 1), std::max(h, 1), QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        image.fill(0);
        for (int y = 0; y < std::min(h, Rows()); ++y) {
            const QByteArray& row = rows[static_cast<std::size_t>(y)];
            std::memcpy(image.scanLine(y), row.constData(),
                        static_cast<std::size_t>(std::min<qsizetype>(row.size(), image.bytesPerLine())));
        }
        return image;  // dots past the stated width lie outside it
    }
};

// A cursor over the job's bytes.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}
    bool AtEnd() const { return m_pos >= m_data.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_data[m_pos]; }
    char Next() { return AtEnd() ? '\0' : m_data[m_pos++]; }
    // The next `count` bytes; a job cut short is not well-formed.
    QByteArray Take(qsizetype count) {
        Require(count >= 0 && m_pos + count <= m_data.size());
        m_pos += count;
        return m_data.mid(m_pos - count, count);
    }
    uchar Byte() { return static_cast<uchar>(Take(1)[0]); }
    // The text up to the end of the line (without "\r\n").
    QByteArray Line() {
        qsizetype end = m_data.indexOf('\n', m_pos);
        end = end < 0 ? m_data.size() : end;
        QByteArray line = m_data.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        while (line.endsWith('\r')) {
            line.chop(1);
        }
        return line;
    }
    // A decimal number (with an optional sign); 0 when none is there.
    int Number() {
        const qsizetype start = m_pos;
        if (Peek() == '-' || Peek() == '+') {
            ++m_pos;
        }
        while (!AtEnd() && ((m_data[m_pos] >= '0' && m_data[m_pos] <= '9') || m_data[m_pos] == '.')) {
            ++m_pos;
        }
        return static_cast<int>(m_data.mid(start, m_pos - start).toDouble());
    }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

// ZPL: "~DG<name>,<bytes>,<bytes a row>," and hex rows, in which G..Y count 1..19 and g..z 20..400
// of the next digit, ',' ends a row white, '!' black and ':' repeats the row above; the ^PW and ^PQ
// up to the next graphic are the page's width and copies.
DotRows ZplRows(const QByteArray& data, int bytesPerRow) {
    DotRows rows{bytesPerRow};
    QByteArray hex;
    int repeat = 0;
    const auto endRow = [&](char rest) {
        rows.Append() = QByteArray::fromHex(hex + QByteArray(2 * bytesPerRow - hex.size(), rest));
        hex.clear();
    };
    for (const char c : data) {
        const int count = c >= 'G' && c <= 'Y' ? c - 'F' : c >= 'g' && c <= 'z' ? (c - 'f') * 20 : 0;
        if (count > 0 || c == '\n' || c == '\r' || c == ' ') {
            repeat += count;
            continue;
        }
        if (c == ',' || c == '!') {
            endRow(c == ',' ? '0' : 'F');
        } else if (c == ':') {
            Require(hex.isEmpty());
            const QByteArray above = rows.Rows() > 0 ? rows.rows.back() : QByteArray(bytesPerRow, '\0');
            rows.Append() = above;
        } else {
            Require(std::isxdigit(static_cast<uchar>(c)));
            hex += QByteArray(std::max(repeat, 1), c);
            Require(hex.size() <= 2 * bytesPerRow);
            if (hex.size() == 2 * bytesPerRow) {
                endRow('0');
            }
        }
        repeat = 0;
    }
    if (!hex.isEmpty()) {
        endRow('0');
    }
    return rows;
}

Pages DecodeZpl(const QByteArray& job) {
    static const QRegularExpression graphic(QStringLiteral("~DG[^,]*,(\\d+),(\\d+),([^\\^~]*)"));
    const QString text = QString::fromLatin1(job);
    std::vector<QRegularExpressionMatch> graphics;
    for (auto found = graphic.globalMatch(text); found.hasNext();) {
        graphics.push_back(found.next());
    }
    Pages pages;
    for (std::size_t i = 0; i < graphics.size(); ++i) {
        const qsizetype end = i + 1 < graphics.size() ? graphics[i + 1].capturedStart() : text.size();
        const QString commands = text.mid(graphics[i].capturedEnd(), end - graphics[i].capturedEnd());
        const auto number = [&commands](const char* command, int otherwise) {
            const auto found = QRegularExpression(QStringLiteral("\\^%1(\\d+)").arg(command)).match(commands);
            return found.hasMatch() ? found.captured(1).toInt() : otherwise;
        };
        const int bytesPerRow = graphics[i].captured(2).toInt();
        Require(bytesPerRow > 0 && graphics[i].captured(1).toInt() % bytesPerRow == 0);
        const DotRows rows = ZplRows(graphics[i].captured(3).toLatin1(), bytesPerRow);
        Require(rows.Rows() == graphics[i].captured(1).toInt() / bytesPerRow && rows.Rows() > 0);
        pages.push_back({rows.Image(), number("PQ", 1), number("PW", 0), rows.Rows()});
    }
    return pages;
}

// CPCL: "! 0 xres yres height copies", PAGE-WIDTH, "CG bytes rows x y" and the raw rows, PRINT.
Pages DecodeCpcl(const QByteArray& job) {
    Pages pages;
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
            if (!head.startsWith("CG ")) {
                Require((head + in.Line()).startsWith("CUT"));
                continue;
            }
            const QList<QByteArray> f = head.mid(3).trimmed().split(' ');
            Require(f.size() == 4 && f[2].toInt() == 0);
            const int bytes = f[0].toInt();
            rows.Widen(bytes);
            for (int r = 0; r < f[1].toInt(); ++r) {
                rows.Row(f[3].toInt() + r).replace(0, bytes, in.Take(bytes));
            }
            in.Line();
            continue;
        }
        const QByteArray line = in.Line();
        if (line.startsWith("! ")) {
            const QList<QByteArray> f = line.mid(2).split(' ');
            Require(f.size() == 5);
            page = PrintedPage{};
            page.height = f[3].toInt();
            page.quantity = f[4].toInt();
            rows = DotRows();
        } else if (line.startsWith("PAGE-WIDTH ")) {
            page.width = line.mid(11).toInt();
            rows.bytesPerRow = (page.width + 7) / 8;
        } else if (line == "PRINT") {
            page.graphic = rows.Image(page.width, page.height);
            pages.push_back(page);
        }
    }
    return pages;
}

// DYMO: ESC L (label length, 2 bytes), ESC D (bytes a row), SYN and a row, ESC f 1 n (n blank
// rows), ESC E ejects; ESC @ (reset), ESC ESC (padding) and ESC c..h (darkness) carry nothing more.
Pages DecodeDymo(const QByteArray& job) {
    Pages pages;
    Reader in(job);
    DotRows rows;
    int length = 0;
    int y = 0;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == '\x16') {
            Require(rows.bytesPerRow > 0);
            rows.Row(y++) = in.Take(rows.bytesPerRow);
            continue;
        }
        Require(c == '\x1b');
        switch (in.Next()) {
            case 'L':
                length = in.Byte() << 8;
                length |= in.Byte();
                break;
            case 'D':
                rows = DotRows{in.Byte()};
                y = 0;
                break;
            case 'q':  // media roll
                in.Byte();
                break;
            case 'f':
                in.Byte();
                y += in.Byte();
                break;
            case 'E':
                pages.push_back({rows.Image(), 1, rows.bytesPerRow * 8, length});
                break;
            default:
                break;
        }
    }
    return pages;
}

// PCL as the Intellitech driver writes it: ESC&l<n>X copies, ESC*r<n>S width, ESC*r<n>T height,
// ESC*b<n>W rows in delta-row compression (mode 3) against the previous row, ESC*b<n>Y blank
// rows, FF ejects.
void ApplyDeltaRow(const QByteArray& data, QByteArray& seed) {
    int pos = 0;
    for (int i = 0; i < data.size();) {
        const auto command = static_cast<uchar>(data[i++]);
        const int count = (command >> 5) + 1;
        int offset = command & 31;
        for (uchar more = offset == 31 ? 255 : 0; more == 255 && i < data.size(); offset += more) {
            more = static_cast<uchar>(data[i++]);
        }
        pos += offset;
        Require(pos + count <= seed.size() && i + count <= data.size());
        seed.replace(pos, count, data.mid(i, count));
        i += count;
        pos += count;
    }
}

Pages DecodePcl(const QByteArray& job) {
    Pages pages;
    Reader in(job);
    DotRows rows;
    PrintedPage page;
    QByteArray seed;
    int y = 0;
    while (!in.AtEnd()) {
        const char c = in.Next();
        if (c == '\f') {
            page.graphic = rows.Image(page.width, page.height);
            pages.push_back(std::exchange(page, PrintedPage{}));
            continue;
        }
        Require(c == '\x1b');
        const char group = in.Next();
        if (group < '!' || group > '/') {
            continue;  // ESC E and other two-byte commands
        }
        const char family = in.Next();
        for (;;) {
            const int value = in.Number();
            const char letter = in.Next();
            const QByteArray key = QByteArray(1, group) + family + static_cast<char>(letter & ~0x20);
            if (key == "&lX") {
                page.quantity = value;
            } else if (key == "*rS") {
                page.width = value;
                rows = DotRows{(value + 7) / 8};
                seed = QByteArray(rows.bytesPerRow, '\0');
                y = 0;
            } else if (key == "*rT") {
                page.height = value;
            } else if (key == "*bY") {
                y += value;
                seed.fill(0);
            } else if (key == "*bW") {
                ApplyDeltaRow(in.Take(value), seed);
                rows.Row(y++) = seed;
            }
            if (letter >= 'A' && letter <= 'Z') {
                break;
            }
            Require(letter >= 'a' && letter <= 'z');
        }
    }
    return pages;
}

// Brother QL raster: ESC @, ESC i commands, "g"/"G" + 2 length bytes + a PackBits row, "Z" a blank
// row, FF ends a page and SUB the last. Rows run across the tape; the first byte is the far edge.
QByteArray UnpackBits(const QByteArray& data) {
    QByteArray out;
    Reader in(data);
    while (!in.AtEnd()) {
        const int n = static_cast<signed char>(in.Next());
        if (n >= 0) {
            out += in.Take(n + 1);
        } else if (n != -128) {
            out += QByteArray(1 - n, static_cast<char>(in.Byte()));
        }
    }
    return out;
}

Pages DecodePtouchQl(const QByteArray& job) {
    Pages pages;
    Reader in(job);
    DotRows rows;
    bool compressed = false;
    while (!in.AtEnd()) {
        switch (const char c = in.Next()) {
            case '\0':
                break;  // the invalidate run before the job
            case '\x1b': {
                const char command = in.Next();
                Require(command == 'i' || command == '@');
                const char sub = command == 'i' ? in.Next() : '\0';  // a status request 'S' carries nothing
                in.Take(sub == 'z' ? 10 : sub == 'd' ? 2 : sub && QByteArray("AMKa").contains(sub) ? 1 : 0);
                break;
            }
            case 'M':
                compressed = in.Byte() == 2;
                break;
            case 'g':
            case 'G': {
                const uchar low = in.Byte();
                const uchar high = in.Byte();
                const QByteArray data = in.Take(c == 'g' ? high : low | high << 8);
                const QByteArray row = compressed ? UnpackBits(data) : data;
                rows.Widen(row.size());
                rows.Append() = row;
                break;
            }
            case 'Z':
                rows.Append();
                break;
            case '\f':
            case '\x1a':
                pages.push_back({rows.Image(), 1, rows.bytesPerRow * 8, rows.Rows()});
                rows = DotRows{rows.bytesPerRow};
                break;
            default:
                throw BadJob{};
        }
    }
    return pages;
}

// PWG raster through libcups' own reader: a set bit (1 bit, black) or a dark byte (grey) burns.
Pages DecodePwg(const QByteArray& job) {
    QTemporaryFile file;
    Require(file.open() && file.write(job) == job.size() && file.flush() && file.seek(0));
    const std::unique_ptr<cups_raster_t, void (*)(cups_raster_t*)> raster(
        cupsRasterOpen(file.handle(), CUPS_RASTER_READ), cupsRasterClose);
    Require(raster != nullptr);
    Pages pages;
    cups_page_header2_t header;
    while (cupsRasterReadHeader2(raster.get(), &header)) {
        const bool bits = header.cupsBitsPerPixel == 1;
        const int width = static_cast<int>(header.cupsWidth);
        const int height = static_cast<int>(header.cupsHeight);
        Require((bits || header.cupsBitsPerPixel == 8) && width > 0 && height > 0);
        DotRows rows{(width + 7) / 8};
        std::vector<unsigned char> line(header.cupsBytesPerLine);
        for (int y = 0; y < height; ++y) {
            Require(cupsRasterReadPixels(raster.get(), line.data(), header.cupsBytesPerLine) ==
                    header.cupsBytesPerLine);
            QByteArray& row = rows.Row(y);
            for (int x = 0; x < width; ++x) {
                if (bits ? (line[x / 8] & (0x80 >> (x % 8))) != 0 : line[x] < 128) {
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
                }
            }
        }
        pages.push_back({rows.Image(width, height), static_cast<int>(std::max(header.NumCopies, 1u)), width,
                         height, static_cast<int>(header.cupsBitsPerPixel), header.cupsPageSizeName});
    }
    return pages;
}

}  // namespace

std::optional<std::vector<PrintedPage>> DecodePrinterJob(PrinterLanguage language, const QByteArray& job) {
    // In the order of PrinterLanguage.
    using Decoder = Pages (*)(const QByteArray&);
    static constexpr Decoder kDecoders[] = {DecodeZpl, DecodeCpcl,     DecodeDymo,
                                            DecodePcl, DecodePtouchQl, DecodePwg};
    try {
        return kDecoders[static_cast<std::size_t>(language)](job);
    } catch (const BadJob&) {
        return std::nullopt;
    }
}

std::vector<PrintedPage> DecodeZplJob(const QByteArray& job) {
    return DecodePrinterJob(PrinterLanguage::Zpl, job).value_or(Pages{});
}

}  // namespace etiqo::test
