#include "print/LabelPage.h"

#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <QtEndian>

#include <cstdint>

#include "model/Geometry.h"

namespace etiqo {

QSize LabelSizeInDots(const Label& label) {
    return {TruncToInt(LabelDots(label.m_nDpiX, label.m_nLabelWidthMM)),
            TruncToInt(LabelDots(label.m_nDpiY, label.m_nLabelHeightMM))};
}

bool PageWithinLimit(int widthMM, int heightMM, int dpiX, int dpiY) {
    return qint64{TruncToInt(LabelDots(dpiX, widthMM))} * TruncToInt(LabelDots(dpiY, heightMM)) <=
           kMaxPagePixels;
}

bool PageWithinLimit(const Label& label) {
    return PageWithinLimit(label.m_nLabelWidthMM, label.m_nLabelHeightMM, label.m_nDpiX, label.m_nDpiY);
}

// Whatever grey is left (pictures the renderer drew) goes to black or white at half way, as Qt's
// threshold conversion decides (grey below 128 is black). The page is drawn in grey, a byte a dot,
// which Qt stores as qGray of what is drawn: a quarter of the bytes of a colour page to fill and to
// read back here.
QImage DotsFromGrey(const QImage& page) {
    QImage mono(page.size(), QImage::Format_Mono);
    if (page.isNull() || mono.isNull()) {
        return {};
    }
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const int width = page.width();
    const int whole = width / 8 * 8;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* in = page.constScanLine(y);
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < whole; x += 8) {
            // Eight dots at once: the high bit of each grey byte is set for white; the multiply
            // gathers the eight dark bits, the first dot's in the top bit, as Mono keeps them.
            const std::uint64_t grey = qFromLittleEndian<quint64>(in + x);  // the first dot's byte lowest
            const std::uint64_t dark = (~grey >> 7) & 0x0101010101010101ULL;
            out[x / 8] = static_cast<uchar>((dark * 0x8040201008040201ULL) >> 56);
        }
        if (whole < width) {
            uchar byte = 0;
            for (int x = whole; x < width; ++x) {
                byte |= static_cast<uchar>((in[x] < 128 ? 0x80 : 0) >> (x - whole));
            }
            out[whole / 8] = byte;
        }
    }
    return mono;
}

QImage RenderLabelGrey(Label& label, const LabelPainter& painter, bool& serialsMoved, QImage blank) {
    if (!PageWithinLimit(label)) {
        return {};
    }
    const QSize dots = LabelSizeInDots(label).expandedTo(QSize(1, 1));
    QImage page = std::move(blank);
    if (page.size() != dots || page.format() != QImage::Format_Grayscale8) {
        page = QImage(dots, QImage::Format_Grayscale8);
        page.fill(0xFFu);  // white, as bytes: fill(QColor) goes through a painter
    }
    {
        QPainter device(&page);
        // A head burns a dot or not: grey edges would only be thresholded away unevenly.
        device.setRenderHint(QPainter::Antialiasing, false);
        device.setRenderHint(QPainter::TextAntialiasing, false);
        if (painter && painter(device, label)) {
            serialsMoved = true;
        }
    }
    return page;
}

QImage RenderLabelPage(Label& label, const LabelPainter& painter, bool& serialsMoved) {
    return DotsFromGrey(RenderLabelGrey(label, painter, serialsMoved));
}

void RenderInQtPool(const std::function<void()>& work) {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->contains(QThread::currentThread())) {
        work();
        return;
    }
    QSemaphore done;
    pool->start([&] {
        work();
        done.release();
    });
    done.acquire();
}

}  // namespace etiqo
