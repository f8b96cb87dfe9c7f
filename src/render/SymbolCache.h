#pragma once
// The images the renderer keeps between paints, outside the 508-byte record.
// Encoded symbols are named by a non-zero 32-bit handle stored in the element's hImage (never a
// pointer, so records stay plain bytes); decoded pictures are kept by the file's identity, so every
// spelling of one path shares one image. Everything that can be made again (fitted bitmaps,
// pictures) shares one byte budget and goes least recently used first; the symbols
// themselves are kept as the encoder made them, one bit a pixel.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include "model/Label.h"

namespace etiqo {

// The byte budget of the images kept between paints: room for the largest picture a label may
// name (8000 × 8000 at four bytes a pixel) and the symbols of a page beside it.
inline constexpr qint64 kImageCacheBudgetBytes = 320LL * 1024 * 1024;

// One cached symbol, decoded, so a paint never decodes again. An entry with a null image records a
// content the encoder refused, so that the next paint shows the problem instead of encoding once
// more.
//
// A linear barcode at scale s is its scale-½ bitmap with every pixel repeated 2s times each way
// (checked against libzint for every symbology this applies to), so only that small bitmap is kept
// and `repeat` says how large it stands: a serialized barcode, encoded anew for every label, then
// costs a few thousand pixels instead of a few megapixels.
struct SymbolImage {
    QImage image;
    int repeat = 1;     // each pixel of image stands for repeat × repeat pixels of the symbol
    std::string error;  // why the content could not be encoded; empty when image is set

    // The symbol's size at its scale, as the encoder's bitmap has it.
    QSize Size() const { return image.size() * repeat; }
    // The symbol's bitmap at its scale, pixel for pixel.
    QImage FullImage() const;
};

// How a symbol image is fitted to the size it is drawn at. Stretched axes are sampled nearest
// neighbour, so every module stays a run of whole pixels.
enum class FitMode {
    Stretch,        // the whole image into the size
    TileRows,       // columns stretched, rows taken one to one from the top and repeated downward
    MirrorColumns,  // rows stretched, columns taken one to one from the left, mirrored when exhausted
};

class SymbolCache {
public:
    SymbolCache() = default;
    SymbolCache(const SymbolCache&) = delete;
    SymbolCache& operator=(const SymbolCache&) = delete;

    // Stores an encoded symbol and returns its new handle (never 0).
    std::uint32_t Store(SymbolImage symbol);

    // nullptr for 0 and for a handle the cache does not hold (a stale value from a file).
    const SymbolImage* Find(std::uint32_t handle) const;

    // The symbol image fitted to exactly size. Kept per handle so that every printed page and
    // every paint reuses the same QImage (PDF output then embeds it once). Null when there is
    // no image. A grey format (Grayscale8) gives a grey image, any other 32-bit RGB.
    QImage Fitted(std::uint32_t handle, QSize size, FitMode mode,
                  QImage::Format format = QImage::Format_RGB32);

    // Frees one symbol; the caller sets the element's hImage to 0. Unknown handles are ignored.
    void Release(std::uint32_t handle);
    // Releases the element's symbol and sets its hImage to 0.
    void Release(Element& element);

    // Drops every symbol that no live element names (after undo, delete, open, cut).
    void DropUnreferenced(std::span<const std::uint32_t> liveHandles);
    void DropUnreferenced(const ElementList& elements);

    std::size_t Size() const { return m_symbols.size(); }

    // Bytes of every image held (symbols, fitted bitmaps, pictures).
    qint64 Bytes() const { return m_bytes; }
    void SetBudgetForTesting(qint64 bytes);

    // A picture file decoded at most once while its modification time and size stay the same,
    // so a changed file shows at the next paint. Null when the file cannot be decoded or is
    // refused (not a regular file, too large); problem then receives the warning.
    QImage Picture(const QString& path, QString* problem = nullptr);

private:
    struct Fit {
        QSize size;
        FitMode mode = FitMode::Stretch;
        QImage::Format format = QImage::Format_RGB32;
        QImage image;
        std::uint64_t used = 0;
    };
    struct Entry {
        SymbolImage symbol;
        Fit fits[2];  // screen and output sizes alternate in the preview; two suffice
        int nextFit = 0;
    };
    // A file is the same file while its device, inode, size and modification time are.
    struct FileIdentity {
        quint64 device = 0, inode = 0;
        qint64 size = 0, modifiedNs = 0;
        friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
    };
    struct IdentityHash {
        std::size_t operator()(const FileIdentity& id) const;
    };
    struct PictureEntry {
        QImage image;
        QString problem;
        std::uint64_t used = 0;
    };

    void Account(qint64 delta) { m_bytes += delta; }
    // Drops the least recently used rebuildable images until the budget holds, with room for
    // `reserve` more bytes (an image about to be made).
    void Trim(qint64 reserve = 0);
    void DropEntryImages(Entry& entry);

    std::unordered_map<std::uint32_t, Entry> m_symbols;
    std::uint32_t m_nextHandle = 1;
    std::unordered_map<FileIdentity, PictureEntry, IdentityHash> m_pictures;
    qint64 m_bytes = 0;
    qint64 m_budget = kImageCacheBudgetBytes;
    std::uint64_t m_clock = 0;
};

}  // namespace etiqo
