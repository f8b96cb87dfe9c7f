#include "ZplGraphic.h"

#include <QRegularExpression>

#include <cctype>
#include <cstring>

namespace etiqo::test {

namespace {

int HexValue(char c) {
    const char* const digits = "0123456789ABCDEF";
    const char* found = c ? std::strchr(digits, std::toupper(static_cast<unsigned char>(c))) : nullptr;
    return found ? static_cast<int>(found - digits) : -1;
}

// ZPL repeat counts: G..Y are 1..19, g..z are 20..400 in steps of 20; letters add up.
int RepeatCount(char c) {
    return c >= 'G' && c <= 'Y' ? c - 'F' : c >= 'g' && c <= 'z' ? (c - 'f') * 20 : 0;
}

// One graphic's data (what follows "~DGR:NAME,total,bytesPerRow,"); a null image on bad data.
QImage DecodeZplGraphic(const QByteArray& data, int totalBytes, int bytesPerRow) {
    if (bytesPerRow <= 0 || totalBytes <= 0 || totalBytes % bytesPerRow != 0) {
        return {};
    }
    const int rowNibbles = bytesPerRow * 2;
    const int rows = totalBytes / bytesPerRow;
    QByteArray nibbles;  // one hex digit per entry, row after row
    nibbles.reserve(rows * rowNibbles);
    QByteArray row;
    QByteArray previous(rowNibbles, 0);
    int repeat = 0;
    auto finishRow = [&] {
        row.append(QByteArray(rowNibbles - row.size(), 0));
        nibbles.append(row);
        previous = row;
        row.clear();
    };
    for (const char c : data) {
        if (c == '\n' || c == '\r' || c == ' ') {
            continue;
        }
        if (nibbles.size() >= rows * rowNibbles) {
            return {};  // more data than the graphic holds
        }
        if (const int count = RepeatCount(c)) {
            repeat += count;
            continue;
        }
        if (c == ',' || c == '!') {  // the rest of the row is white / black
            row.append(QByteArray(rowNibbles - row.size(), c == ',' ? 0 : 15));
            finishRow();
        } else if (c == ':') {  // the previous row again
            if (!row.isEmpty()) {
                return {};
            }
            row = previous;
            finishRow();
        } else if (const int value = HexValue(c); value >= 0) {
            row.append(QByteArray(std::max(repeat, 1), static_cast<char>(value)));
            if (row.size() > rowNibbles) {
                return {};
            }
            if (row.size() == rowNibbles) {
                finishRow();
            }
        } else {
            return {};
        }
        repeat = 0;
    }
    if (!row.isEmpty()) {
        finishRow();
    }
    if (nibbles.size() != rows * rowNibbles) {
        return {};
    }
    // The printer burns a set bit: black on white.
    QImage image(bytesPerRow * 8, rows, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < rows; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < bytesPerRow; ++x) {
            line[x] = static_cast<uchar>(nibbles[y * rowNibbles + 2 * x] << 4 |
                                         nibbles[y * rowNibbles + 2 * x + 1]);
        }
    }
    return image;
}

}  // namespace

std::vector<ZplPage> DecodeZplJob(const QByteArray& zpl) {
    static const QRegularExpression graphic(QStringLiteral("~DG[A-Z]?:?[^,]*,(\\d+),(\\d+),"));
    static const QRegularExpression width(QStringLiteral("\\^PW(\\d+)"));
    static const QRegularExpression quantity(QStringLiteral("\\^PQ(\\d+)"));
    const QString text = QString::fromLatin1(zpl);
    std::vector<ZplPage> pages;
    auto match = graphic.match(text);
    while (match.hasMatch()) {
        const qsizetype dataStart = match.capturedEnd();
        qsizetype dataEnd = text.indexOf(QRegularExpression(QStringLiteral("[\\^~]")), dataStart);
        if (dataEnd < 0) {
            dataEnd = text.size();
        }
        const auto next = graphic.match(text, dataEnd);
        const qsizetype pageEnd = next.hasMatch() ? next.capturedStart() : text.size();
        const QString commands = text.mid(dataEnd, pageEnd - dataEnd);

        ZplPage page;
        page.graphic = DecodeZplGraphic(zpl.mid(dataStart, dataEnd - dataStart), match.captured(1).toInt(),
                                        match.captured(2).toInt());
        if (const auto w = width.match(commands); w.hasMatch()) {
            page.printWidth = w.captured(1).toInt();
        }
        if (const auto q = quantity.match(commands); q.hasMatch()) {
            page.quantity = q.captured(1).toInt();
        }
        pages.push_back(page);
        match = next;
    }
    return pages;
}

}  // namespace etiqo::test
