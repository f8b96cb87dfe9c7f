#include "print/LabelPdfPages.h"

#include "print/FaxG4.h"
#include "print/LabelPage.h"
#include "render/BitOrder.h"

#include <QIODevice>
#include <QtEndian>

#include <cairo-pdf.h>
#include <cairo.h>

#include <atomic>
#include <bit>
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

// cairo's A1 rows are 32-bit words with the first dot in the low bit: on a little-endian machine,
// bytes with the first dot in the low bit.
static_assert(std::endian::native == std::endian::little, "A1 rows are written byte by byte");

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
        : m_target(target),
          m_points(points),
          m_dpiX(dpiX),
          m_dpiY(dpiY),
          m_title(title.toUtf8()),
          m_thread([this] { Run(); }) {}

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
    // Written pages kept white for the drawing thread, which takes one a page.
    static constexpr std::size_t kBlankPages = 2;

    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length) {
        auto* self = static_cast<Writer*>(closure);
        const auto size = static_cast<qint64>(length);
        return self->m_target.write(reinterpret_cast<const char*>(data), size) == size
                   ? CAIRO_STATUS_SUCCESS
                   : CAIRO_STATUS_WRITE_ERROR;
    }

    void Fail() {
        const std::lock_guard lock(m_mutex);
        m_failed = true;
        m_changed.notify_all();
    }

    void Run() {
        cairo_surface_t* pdf =
            cairo_pdf_surface_create_for_stream(&Write, this, m_points.width(), m_points.height());
        cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, "Etiqo");
        cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, m_title.constData());
        cairo_t* cr = cairo_create(pdf);
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
            if (!DrawPage(cr, page, reuse)) {
                Fail();
            } else if (reuse) {
                const std::lock_guard lock(m_mutex);
                if (m_blank.size() < kBlankPages) {
                    m_blank.push_back(std::move(page));  // whitened by DrawPage
                }
            }
        }
        cairo_destroy(cr);
        cairo_surface_finish(pdf);
        if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
            Fail();
        }
        cairo_surface_destroy(pdf);
    }

    // The page as a stencil of its ink, painted black: cairo keeps an A1 mask under a solid colour
    // as a 1-bit image mask, unsmoothed with the nearest filter, and stores it as the G4 coding
    // attached to it (deflate when coding fails). A page equal to the one before (copies of an
    // unchanging label) paints the same mask, which the PDF holds once.
    bool DrawPage(cairo_t* cr, QImage& page, bool whiten) {
        using Mask = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
        Mask mask(cairo_image_surface_create(CAIRO_FORMAT_A1, page.width(), page.height()));
        unsigned char* data = cairo_image_surface_get_data(mask.get());
        if (data == nullptr) {
            return false;
        }
        const int stride = cairo_image_surface_get_stride(mask.get());
        const int rowBytes = (page.width() + 7) / 8;
        cairo_surface_flush(mask.get());
        if (!InkInto(page, data, stride, whiten)) {
            return false;
        }
        cairo_surface_mark_dirty(mask.get());
        if (m_lastMask && cairo_image_surface_get_width(m_lastMask.get()) == page.width() &&
            cairo_image_surface_get_height(m_lastMask.get()) == page.height() &&
            SameRows(data, cairo_image_surface_get_data(m_lastMask.get()), stride, rowBytes, page.height())) {
            return PaintMask(cr);
        }
        const QByteArray g4 = EncodeFaxG4(data, page.width(), page.height(), stride);
        if (!g4.isEmpty()) {
            AttachMime(mask.get(), CAIRO_MIME_TYPE_CCITT_FAX, g4);
            AttachMime(mask.get(), CAIRO_MIME_TYPE_CCITT_FAX_PARAMS,
                       QStringLiteral("Columns=%1 Rows=%2 K=-1 BlackIs1=true")
                           .arg(page.width())
                           .arg(page.height())
                           .toLatin1());
        }
        m_lastMask = std::move(mask);
        return PaintMask(cr);
    }

    // The page's ink as cairo's A1 rows hold it: the first dot in the low bit of little-endian
    // words. A grey page (what the renderer draws) is read a byte a dot, grey below 128 as ink, and
    // whitened if asked, row by row while its bytes are at hand; any other page goes through one
    // bit a dot.
    static bool InkInto(QImage& page, unsigned char* data, int stride, bool whiten) {
        if (page.format() == QImage::Format_Grayscale8) {
            for (int y = 0; y < page.height(); ++y) {
                if (InkRowFromGrey(page.constScanLine(y), page.width(),
                                   data + static_cast<std::ptrdiff_t>(y) * stride) &&
                    whiten) {
                    std::memset(page.scanLine(y), 0xFF, static_cast<std::size_t>(page.width()));
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

    static bool SameRows(const unsigned char* a, const unsigned char* b, int stride, int rowBytes, int rows) {
        for (int y = 0; y < rows; ++y) {
            const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y) * stride;
            if (std::memcmp(a + at, b + at, static_cast<std::size_t>(rowBytes)) != 0) {
                return false;
            }
        }
        return true;
    }

    // cairo keeps mime data as long as the surface lives, which may be past this page: it owns a
    // copy and frees it through the callback.
    static void AttachMime(cairo_surface_t* surface, const char* type, const QByteArray& bytes) {
        auto owned = std::make_unique<QByteArray>(bytes);
        const auto* data = reinterpret_cast<const unsigned char*>(owned->constData());
        const auto size = static_cast<unsigned long>(owned->size());
        if (cairo_surface_set_mime_data(
                surface, type, data, size,
                [](void* p) { std::unique_ptr<QByteArray>(static_cast<QByteArray*>(p)); },
                owned.get()) == CAIRO_STATUS_SUCCESS) {
            owned.release();  // now the surface's
        }
    }

    bool PaintMask(cairo_t* cr) {
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(m_lastMask.get());
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
        cairo_save(cr);
        cairo_scale(cr, 72.0 / m_dpiX, 72.0 / m_dpiY);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_mask(cr, pattern);
        cairo_restore(cr);
        cairo_show_page(cr);
        cairo_pattern_destroy(pattern);
        return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    }

    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };

    QIODevice& m_target;
    QSizeF m_points;
    int m_dpiX;
    int m_dpiY;
    QByteArray m_title;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QImage> m_queue;
    std::vector<QImage> m_blank;
    qsizetype m_queuedBytes = 0;
    bool m_closing = false;
    std::atomic<bool> m_failed = false;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> m_lastMask;  // the last page's, kept for the next
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
