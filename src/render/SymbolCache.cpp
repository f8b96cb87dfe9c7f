#include "render/SymbolCache.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <unordered_set>

#include "render/PictureFile.h"

namespace etiqo {

namespace {

// No fitted image may grow past this many pixels, whatever size a hostile record asks for.
constexpr qint64 kMaxFittedPixels = 64LL * 1024 * 1024;
constexpr int kMaxPictures = 32;

// Nearest-neighbour resampling: column x takes source column x × sw / w, so every source
// column (module) becomes a run of whole pixels.
int Sample(int x, int size, int sourceSize) {
    return static_cast<int>(static_cast<qint64>(x) * sourceSize / size);
}

// Source coordinates are those of the symbol at its scale (image × repeat); each maps back to the
// stored pixel it repeats.
QImage Resample(const SymbolImage& symbol, QSize size, FitMode mode) {
    const QImage& source = symbol.image;
    const QImage src =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull()) {
        return out;
    }
    const int repeat = std::max(symbol.repeat, 1);
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
    int previousRow = -1;
    for (int y = 0; y < size.height(); ++y) {
        const int sy = (mode == FitMode::TileRows ? y % sh : Sample(y, size.height(), sh)) / repeat;
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (sy == previousRow) {
            std::copy_n(reinterpret_cast<const QRgb*>(out.constScanLine(y - 1)), size.width(), line);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = in[columns[static_cast<std::size_t>(x)]];
        }
        previousRow = sy;
    }
    return out;
}

}  // namespace

QImage SymbolImage::FullImage() const {
    if (image.isNull() || repeat <= 1) {
        return image;
    }
    return Resample(*this, Size(), FitMode::Stretch);
}

std::uint32_t SymbolCache::Store(SymbolImage symbol) {
    while (m_nextHandle == 0 || m_symbols.contains(m_nextHandle)) {
        ++m_nextHandle;
    }
    const std::uint32_t handle = m_nextHandle++;
    m_symbols.emplace(handle, Entry{std::move(symbol), {}, {}, 0});
    return handle;
}

const SymbolImage* SymbolCache::Find(std::uint32_t handle) const {
    const auto it = m_symbols.find(handle);
    return it == m_symbols.end() ? nullptr : &it->second.symbol;
}

QImage SymbolCache::Fitted(std::uint32_t handle, QSize size, FitMode mode) {
    const auto it = m_symbols.find(handle);
    if (it == m_symbols.end() || it->second.symbol.image.isNull() || size.isEmpty() ||
        static_cast<qint64>(size.width()) * size.height() > kMaxFittedPixels) {
        return {};
    }
    Entry& entry = it->second;
    for (const Fit& fit : entry.fits) {
        if (fit.size == size && fit.mode == mode && !fit.image.isNull()) {
            return fit.image;
        }
    }
    Fit& slot = entry.fits[entry.nextFit];
    entry.nextFit = (entry.nextFit + 1) % 2;
    slot = Fit{size, mode, Resample(entry.symbol, size, mode)};
    return slot.image;
}

QByteArray SymbolCache::PngFile(std::uint32_t handle) {
    const auto it = m_symbols.find(handle);
    if (it == m_symbols.end() || it->second.symbol.image.isNull()) {
        return {};
    }
    Entry& entry = it->second;
    if (entry.png.isEmpty()) {
        // zint's colours are black on white: a 1-bit file carries every pixel of it.
        const QImage mono =
            entry.symbol.FullImage().convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        QBuffer buffer(&entry.png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setCompression(1);
        writer.write(mono);
    }
    return entry.png;
}

void SymbolCache::Release(std::uint32_t handle) {
    m_symbols.erase(handle);
}

void SymbolCache::Release(Element& element) {
    Release(element.hImage);
    element.hImage = 0;
}

void SymbolCache::DropUnreferenced(std::span<const std::uint32_t> liveHandles) {
    const std::unordered_set<std::uint32_t> live(liveHandles.begin(), liveHandles.end());
    std::erase_if(m_symbols, [&](const auto& item) { return !live.contains(item.first); });
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

QImage SymbolCache::Picture(const QString& path, QString* problem) {
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    const auto it = m_pictures.constFind(path);
    if (it != m_pictures.cend() && it->modified == modified && it->size == size) {
        if (problem) {
            *problem = it->problem;
        }
        return it->image;
    }
    PictureRead read = ReadPictureFile(path);
    if (problem) {
        *problem = read.problem;
    }
    if (m_pictures.size() >= kMaxPictures) {
        m_pictures.clear();
    }
    m_pictures.insert(path, PictureEntry{modified, size, read.image, read.problem});
    return read.image;
}

}  // namespace etiqo
