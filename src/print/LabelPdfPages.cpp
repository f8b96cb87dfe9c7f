#include "print/LabelPdfPages.h"

#include "print/FaxG4.h"
#include "print/PdfMaskDocument.h"
#include "render/BitOrder.h"

#include <QtEndian>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace etiqo {

QSizeF LabelSizeInPoints(double widthMM, double heightMM) {
    return {widthMM * 72.0 / 25.4, heightMM * 72.0 / 25.4};
}

namespace {

// A row of grey dots as ink bits, eight or sixteen dots at a time (the top bit of a grey byte is
// set for white); whether any dot of it is not white.
bool InkRowFromGrey(const uchar* grey, int width, unsigned char* out) {
    int x = 0;
    bool drawn = false;
#if defined(__SSE2__)
    __m128i all = _mm_set1_epi8(-1);
    for (; x + 16 <= width; x += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + x));
        const auto ink = static_cast<std::uint16_t>(~_mm_movemask_epi8(bytes));
        std::memcpy(out + x / 8, &ink, sizeof ink);
        all = _mm_and_si128(all, bytes);
    }
    drawn = _mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_set1_epi8(-1))) != 0xFFFF;
#endif
    for (; x + 8 <= width; x += 8) {
        // The multiply gathers the eight dark bits, the first dot's lowest.
        const std::uint64_t bytes = qFromLittleEndian<quint64>(grey + x);
        const std::uint64_t dark = (~bytes >> 7) & 0x0101010101010101ULL;
        out[x / 8] = static_cast<uchar>((dark * 0x0102040810204080ULL) >> 56);
        drawn = drawn || bytes != ~std::uint64_t{0};
    }
    if (x < width) {
        uchar byte = 0;
        for (int i = x; i < width; ++i) {
            byte |= static_cast<uchar>((grey[i] < 128 ? 1 : 0) << (i - x));
            drawn = drawn || grey[i] != 0xFF;
        }
        out[x / 8] = byte;
    }
    return drawn;
}

}  // namespace

class LabelPdfPages::Writer {
public:
    Writer(QIODevice& target, QSizeF points, int dpiX, int dpiY, const QString& title)
        : m_document(target, points, dpiX, dpiY, title), m_thread([this] { Run(); }) {}

    ~Writer() { Finish(); }

    bool Push(QImage page) {
        std::unique_lock lock(m_mutex);
        // A few pages ahead keep both threads busy; a byte cap keeps huge labels' grey pages small.
        m_changed.wait(lock, [this] {
            return m_failed || m_queue.empty() || (m_queue.size() < kAhead && m_queuedBytes < kAheadBytes);
        });
        if (m_failed || m_closing) {
            return false;
        }
        m_queuedBytes += page.sizeInBytes();
        m_queue.push_back(std::move(page));
        // The writer is woken for a batch, not for every page: each wake-up is a trip through the
        // kernel. It is woken before this thread could have to wait for room, and by Finish.
        if (m_queue.size() >= kAhead / 2 || m_queuedBytes >= kAheadBytes / 2) {
            m_changed.notify_all();
        }
        return true;
    }

    QImage TakeBlank(QSize size) {
        const std::lock_guard lock(m_mutex);
        while (!m_blank.empty()) {
            QImage page = std::move(m_blank.back());
            m_blank.pop_back();
            if (page.size() == size) {
                return page;
            }
        }
        return {};
    }

    bool Finish() {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
            m_changed.notify_all();
        }
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return !m_failed;
    }

private:
    // Pages drawn ahead of the one being written: enough to even out the drawing, encoding and
    // writing threads on two cores, few enough to stay small.
    static constexpr std::size_t kAhead = 16;
    static constexpr qsizetype kAheadBytes = 16LL * 1024 * 1024;
    // Written pages are kept white for the drawing thread, which takes one a page: up to as many
    // as may wait in the queue (within half its bytes), so that the threads, running in bursts on
    // two cores, pass the same pages round and no fresh page is cleared.
    static bool RoomForBlank(std::size_t kept, qsizetype pageBytes) {
        return kept < kAhead && static_cast<qsizetype>(kept + 1) * pageBytes <= kAheadBytes / 2;
    }

    void Fail() {
        const std::lock_guard lock(m_mutex);
        m_failed = true;
        m_changed.notify_all();
    }

    void Run() {
        while (true) {
            QImage page;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_queue.empty() || m_closing; });
                if (m_queue.empty()) {
                    break;
                }
                page = std::move(m_queue.front());
                m_queue.pop_front();
                m_queuedBytes -= page.sizeInBytes();
                m_changed.notify_all();
            }
            if (m_failed) {
                continue;
            }
            // A grey page no one else holds is whitened as it is read and kept for the next.
            const bool reuse = page.format() == QImage::Format_Grayscale8 && page.isDetached();
            if (!DrawPage(page, reuse)) {
                Fail();
            } else if (reuse) {
                const std::lock_guard lock(m_mutex);
                if (RoomForBlank(m_blank.size(), page.sizeInBytes())) {
                    m_blank.push_back(std::move(page));  // whitened by DrawPage
                }
            }
        }
        if (!m_failed && !m_document.Finish()) {
            Fail();
        }
    }

    // The page's ink coded G4. A page equal to the one before (copies of an unchanging label)
    // shows the same image, which the PDF holds once.
    bool DrawPage(QImage& page, bool whiten) {
        const int width = page.width();
        const int height = page.height();
        const int rowBytes = (width + 7) / 8;
        m_rows.resize(static_cast<std::size_t>(rowBytes) * height);
        if (!InkInto(page, m_rows.data(), rowBytes, whiten)) {
            return false;
        }
        if (m_lastSize == page.size() && m_rows == m_lastRows) {
            return m_document.RepeatPage();
        }
        const QByteArray g4 = EncodeFaxG4(m_rows.data(), width, height, rowBytes);
        std::swap(m_rows, m_lastRows);
        m_lastSize = page.size();
        return m_document.AddPage(width, height, g4);
    }

    // The page's ink as the G4 coder reads it, rows of `stride` bytes with the first dot in the low
    // bit and nothing past the last dot. A grey page (what the renderer draws) is read a byte a dot,
    // grey below 128 as ink, and whitened if asked, row by row while its bytes are at hand; any
    // other page goes through one bit a dot.
    static bool InkInto(QImage& page, unsigned char* data, int stride, bool whiten) {
        if (page.format() == QImage::Format_Grayscale8) {
            const int width = page.width();
            const qsizetype rowBytes = page.bytesPerLine();
            const uchar* grey = page.constBits();
            uchar* white = whiten ? page.bits() : nullptr;  // whitened pages are held by the writer alone
            for (int y = 0; y < page.height(); ++y) {
                const qsizetype at = y * rowBytes;
                if (InkRowFromGrey(grey + at, width, data + static_cast<std::ptrdiff_t>(y) * stride) &&
                    white) {
                    std::memset(white + at, 0xFF, static_cast<std::size_t>(width));
                }
            }
            return true;
        }
        QImage ink = page.format() == QImage::Format_Mono
                         ? page
                         : page.convertToFormat(QImage::Format_Mono,
                                                Qt::MonoOnly | Qt::ThresholdDither | Qt::AvoidDither);
        if (ink.isNull()) {
            return false;
        }
        const bool inkIsOne = qGray(ink.color(1)) <= qGray(ink.color(0));  // the darker colour
        const int rowBytes = (ink.width() + 7) / 8;
        for (int y = 0; y < ink.height(); ++y) {
            const uchar* in = ink.constScanLine(y);
            unsigned char* out = data + static_cast<std::ptrdiff_t>(y) * stride;
            for (int i = 0; i < rowBytes; ++i) {
                // Mono keeps the first dot in a byte's high bit.
                out[i] = ReversedBits(inkIsOne ? in[i] : static_cast<uchar>(~in[i]));
            }
            if (const int spare = rowBytes * 8 - ink.width(); spare > 0) {
                out[rowBytes - 1] &= static_cast<uchar>(0xFF >> spare);  // no ink past the last dot
            }
        }
        return true;
    }

    PdfMaskDocument m_document;             // written by the writer's thread only
    std::vector<unsigned char> m_rows;      // the page being written, as ink bits
    std::vector<unsigned char> m_lastRows;  // the page before it
    QSize m_lastSize;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QImage> m_queue;
    std::vector<QImage> m_blank;
    qsizetype m_queuedBytes = 0;
    bool m_closing = false;
    std::atomic<bool> m_failed = false;
    std::thread m_thread;  // last: started once everything above is ready
};

LabelPdfPages::LabelPdfPages(QIODevice& target, QSizeF millimetres, int dpiX, int dpiY, const QString& title)
    : m_writer(std::make_unique<Writer>(target, LabelSizeInPoints(millimetres.width(), millimetres.height()),
                                        dpiX, dpiY, title)) {}

LabelPdfPages::~LabelPdfPages() = default;

bool LabelPdfPages::AddPage(QImage dots) {
    return !dots.isNull() && m_writer->Push(std::move(dots));
}

QImage LabelPdfPages::TakeBlankPage(QSize size) {
    return m_writer->TakeBlank(size);
}

bool LabelPdfPages::Finish() {
    return m_writer->Finish();
}

}  // namespace etiqo
