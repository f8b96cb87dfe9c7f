#include "render/SymbolCache.h"

#include <sys/stat.h>

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <unordered_set>

#include "render/PictureFile.h"

namespace etiqo {

namespace {

// No fitted image may grow past this many pixels, whatever size a hostile record asks for.
constexpr qint64 kMaxFittedPixels = 64LL * 1024 * 1024;

qint64 ImageBytes(const QImage& image) {
    return image.isNull() ? 0 : image.sizeInBytes();
}

// Nearest-neighbour resampling: column x takes source column x × sw / w, so every source
// column (module) becomes a run of whole pixels.
int Sample(int x, int size, int sourceSize) {
    return static_cast<int>(static_cast<qint64>(x) * sourceSize / size);
}

// Source coordinates are those of the symbol at its scale (image × repeat); each maps back to the
// stored pixel it repeats, which read(row, x) gives in the output's format.
template <typename Pixel, typename Read>
void ResampleInto(const QImage& src, int repeat, FitMode mode, QImage& out, Read read) {
    const QSize size = out.size();
    const int sw = src.width() * repeat;
    const int sh = src.height() * repeat;
    std::vector<int> columns(static_cast<std::size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x) {
        int sx = Sample(x, size.width(), sw);
        if (mode == FitMode::MirrorColumns) {
            const int k = x % (2 * sw);
            sx = k < sw ? k : 2 * sw - 1 - k;
        }
        columns[static_cast<std::size_t>(x)] = sx / repeat;
    }
    // A row sampled from the same pixels as the row above (a module's rows, every row of a linear
    // code) is that row copied.
    const auto rowBytes = static_cast<std::size_t>((src.width() * src.depth() + 7) / 8);
    const uchar* previous = nullptr;
    for (int y = 0; y < size.height(); ++y) {
        const int sy = (mode == FitMode::TileRows ? y % sh : Sample(y, size.height(), sh)) / repeat;
        const uchar* source = src.constScanLine(sy);
        auto* line = reinterpret_cast<Pixel*>(out.scanLine(y));
        if (previous && (source == previous || std::memcmp(source, previous, rowBytes) == 0)) {
            std::copy_n(reinterpret_cast<const Pixel*>(out.constScanLine(y - 1)), size.width(), line);
            continue;
        }
        for (int x = 0; x < size.width(); ++x) {
            line[x] = read(source, columns[static_cast<std::size_t>(x)]);
        }
        previous = source;
    }
}

template <typename Pixel>
void ResampleFrom(const QImage& source, int repeat, FitMode mode, QImage& out, Pixel shade0, Pixel shade1) {
    if (source.format() == QImage::Format_Mono) {
        // Straight from the bits: Qt converts to grey through colour management, pixel by pixel.
        const Pixel shades[2] = {shade0, shade1};
        ResampleInto<Pixel>(source, repeat, mode, out,
                            [&](const uchar* row, int x) { return shades[(row[x >> 3] >> (~x & 7)) & 1]; });
        return;
    }
    const QImage same = source.format() == out.format() ? source : source.convertToFormat(out.format());
    ResampleInto<Pixel>(same, repeat, mode, out,
                        [](const uchar* row, int x) { return reinterpret_cast<const Pixel*>(row)[x]; });
}

// The fitted image in the format it is drawn on: a grey page then copies its rows as they are,
// where a colour image would be blended into it pixel by pixel.
QImage Resample(const SymbolImage& symbol, QSize size, FitMode mode, QImage::Format format) {
    const QImage& source = symbol.image;
    const bool grey = format == QImage::Format_Grayscale8;
    QImage out(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (out.isNull() || source.isNull() ||
        (source.format() == QImage::Format_Mono && source.colorCount() < 2)) {
        return {};
    }
    const int repeat = std::max(symbol.repeat, 1);
    const QRgb colour0 = source.colorCount() >= 2 ? source.color(0) : QRgb{};
    const QRgb colour1 = source.colorCount() >= 2 ? source.color(1) : QRgb{};
    if (grey) {
        ResampleFrom<uchar>(source, repeat, mode, out, static_cast<uchar>(qGray(colour0)),
                            static_cast<uchar>(qGray(colour1)));
    } else {
        ResampleFrom<QRgb>(source, repeat, mode, out, colour0 | 0xFF000000u, colour1 | 0xFF000000u);
    }
    return out;
}

}  // namespace

QImage SymbolImage::FullImage() const {
    if (image.isNull() || repeat <= 1) {
        return image.convertToFormat(QImage::Format_RGB32);  // as the encoder drew it
    }
    return Resample(*this, Size(), FitMode::Stretch, QImage::Format_RGB32);
}

std::uint32_t SymbolCache::Store(SymbolImage symbol) {
    while (m_nextHandle == 0 || m_symbols.contains(m_nextHandle)) {
        ++m_nextHandle;
    }
    const std::uint32_t handle = m_nextHandle++;
    Account(ImageBytes(symbol.image));
    m_symbols.emplace(handle, Entry{std::move(symbol), {}, 0});
    Trim();
    return handle;
}

const SymbolImage* SymbolCache::Find(std::uint32_t handle) const {
    const auto it = m_symbols.find(handle);
    return it == m_symbols.end() ? nullptr : &it->second.symbol;
}

QImage SymbolCache::Fitted(std::uint32_t handle, QSize size, FitMode mode, QImage::Format format) {
    const auto it = m_symbols.find(handle);
    if (it == m_symbols.end() || it->second.symbol.image.isNull() || size.isEmpty() ||
        static_cast<qint64>(size.width()) * size.height() > kMaxFittedPixels) {
        return {};
    }
    Entry& entry = it->second;
    for (Fit& fit : entry.fits) {
        if (fit.size == size && fit.mode == mode && fit.format == format && !fit.image.isNull()) {
            fit.used = ++m_clock;
            return fit.image;
        }
    }
    Fit& slot = entry.fits[entry.nextFit];
    entry.nextFit = (entry.nextFit + 1) % 2;
    Account(-ImageBytes(slot.image));
    slot = Fit{};
    const int pixelBytes = format == QImage::Format_Grayscale8 ? 1 : 4;
    Trim(qint64{size.width()} * size.height() * pixelBytes);  // room first: peak memory stays at the budget
    slot = Fit{size, mode, format, Resample(entry.symbol, size, mode, format), ++m_clock};
    Account(ImageBytes(slot.image));
    const QImage fitted = slot.image;  // stays valid for the caller whatever Trim drops
    Trim();
    return fitted;
}

void SymbolCache::DropEntryImages(Entry& entry) {
    Account(-ImageBytes(entry.symbol.image));
    for (const Fit& fit : entry.fits) {
        Account(-ImageBytes(fit.image));
    }
}

void SymbolCache::Release(std::uint32_t handle) {
    if (const auto it = m_symbols.find(handle); it != m_symbols.end()) {
        DropEntryImages(it->second);
        m_symbols.erase(it);
    }
}

void SymbolCache::Release(Element& element) {
    Release(element.hImage);
    element.hImage = 0;
}

void SymbolCache::DropUnreferenced(std::span<const std::uint32_t> liveHandles) {
    const std::unordered_set<std::uint32_t> live(liveHandles.begin(), liveHandles.end());
    for (auto it = m_symbols.begin(); it != m_symbols.end();) {
        if (live.contains(it->first)) {
            ++it;
        } else {
            DropEntryImages(it->second);
            it = m_symbols.erase(it);
        }
    }
}

void SymbolCache::DropUnreferenced(const ElementList& elements) {
    std::vector<std::uint32_t> live;
    live.reserve(elements.size());
    for (const ElementPtr& e : elements) {
        if (e && e->hImage != 0) {
            live.push_back(e->hImage);
        }
    }
    DropUnreferenced(live);
}

std::size_t SymbolCache::IdentityHash::operator()(const FileIdentity& id) const {
    std::size_t h = std::hash<quint64>()(id.device);
    for (const quint64 part : {id.inode, quint64(id.size), quint64(id.modifiedNs)}) {
        h = h * 1000003u ^ std::hash<quint64>()(part);
    }
    return h;
}

QImage SymbolCache::Picture(const QString& path, QString* problem) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        PictureRead read = ReadPictureFile(path);  // says why; nothing to keep
        if (problem) {
            *problem = read.problem;
        }
        return read.image;
    }
    const FileIdentity id{st.st_dev, st.st_ino, st.st_size,
                          qint64{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
    if (const auto it = m_pictures.find(id); it != m_pictures.end()) {
        it->second.used = ++m_clock;
        if (problem) {
            *problem = it->second.problem;
        }
        return it->second.image;
    }
    PictureRead read = ReadPictureFile(path);
    if (problem) {
        *problem = read.problem;
    }
    Account(ImageBytes(read.image));
    m_pictures.emplace(id, PictureEntry{read.image, read.problem, ++m_clock});
    const QImage image = read.image;
    Trim();
    return image;
}

void SymbolCache::SetBudgetForTesting(qint64 bytes) {
    m_budget = bytes;
    Trim();
}

void SymbolCache::Trim(qint64 reserve) {
    while (m_bytes + reserve > m_budget) {
        // The oldest rebuildable image: a fitted bitmap or a picture.
        std::uint64_t oldest = UINT64_MAX;
        std::function<void()> drop;
        for (auto& symbol : m_symbols) {
            auto& entry = symbol.second;  // a plain reference: lambdas below capture it
            for (Fit& fit : entry.fits) {
                if (!fit.image.isNull() && fit.used < oldest) {
                    oldest = fit.used;
                    drop = [this, &fit] {
                        Account(-ImageBytes(fit.image));
                        fit = Fit{};
                    };
                }
            }
        }
        for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it) {
            if (it->second.used < oldest) {
                oldest = it->second.used;
                drop = [this, it] {
                    Account(-ImageBytes(it->second.image));
                    m_pictures.erase(it);
                };
            }
        }
        if (!drop) {
            return;  // only the symbols themselves are left
        }
        drop();
    }
}

}  // namespace etiqo
