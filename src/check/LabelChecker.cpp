#include "check/LabelChecker.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <QHashFunctions>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "check/Expectation.h"
#include "render/SymbolGeometry.h"

namespace etiqo {

namespace {

// White around the symbol handed to the decoder: it finds symbols in a crop of their box with some
// margin, but (Data Matrix) not on a whole page.
constexpr int kDecodeMargin = 10;
constexpr std::size_t kMaxCached = 4096;
constexpr int kOffPageMargin = 64;

ZXing::BarcodeFormats Formats(CodeFamily family) {
    using ZXing::BarcodeFormat;
    switch (family) {
        case CodeFamily::Code128:
            return BarcodeFormat::Code128;
        case CodeFamily::Code39:
        case CodeFamily::Code39Extended:
            return BarcodeFormat::Code39;
        case CodeFamily::Code93:
            return BarcodeFormat::Code93;
        case CodeFamily::Codabar:
            return BarcodeFormat::Codabar;
        case CodeFamily::Ean8Or13:
            return BarcodeFormat::EAN8 | BarcodeFormat::EAN13;
        case CodeFamily::Ean13:
            return BarcodeFormat::EAN13;
        case CodeFamily::UpcA:
            return BarcodeFormat::UPCA;
        case CodeFamily::UpcE:
            return BarcodeFormat::UPCE;
        case CodeFamily::Itf:
            return BarcodeFormat::ITF;
        case CodeFamily::QrCode:
            return BarcodeFormat::QRCode;
        case CodeFamily::Pdf417:
            return BarcodeFormat::PDF417;
        case CodeFamily::DataMatrix:
            return BarcodeFormat::DataMatrix;
        case CodeFamily::MaxiCode:
            return BarcodeFormat::MaxiCode;
    }
    return BarcodeFormat::None;
}

bool IsLinear(CodeFamily family) {
    return family != CodeFamily::QrCode && family != CodeFamily::Pdf417 && family != CodeFamily::DataMatrix &&
           family != CodeFamily::MaxiCode;
}

// A grey crop of the page, white where it runs past the page. Transposed crops turn a barcode whose
// modules run top to bottom into one that runs left to right.
struct Crop {
    QRect rect;  // on the page
    bool transposed = false;
    int width = 0;  // of the buffer
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool Dark(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)] < 128;
    }
    // A page rectangle in buffer coordinates.
    QRect Local(const QRect& page) const {
        const QRect moved = page.translated(-rect.topLeft());
        return transposed ? QRect(moved.y(), moved.x(), moved.height(), moved.width()) : moved;
    }
};

// page is Format_Mono (as printed) or Format_Grayscale8.
Crop CropPage(const QImage& page, const QRect& rect, bool transposed) {
    Crop crop{rect,
              transposed,
              transposed ? rect.height() : rect.width(),
              transposed ? rect.width() : rect.height(),
              {}};
    crop.pixels.assign(static_cast<std::size_t>(crop.width) * static_cast<std::size_t>(crop.height), 255);
    const QRect inside = rect.intersected(page.rect());
    const bool mono = page.format() == QImage::Format_Mono;
    std::uint8_t levels[2] = {0, 255};
    if (mono && page.colorCount() == 2) {
        levels[0] = static_cast<std::uint8_t>(qGray(page.color(0)));
        levels[1] = static_cast<std::uint8_t>(qGray(page.color(1)));
    }
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const std::uint8_t* line = page.constScanLine(y);
        const int cy = y - rect.top();
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int cx = x - rect.left();
            const std::size_t at = transposed ? static_cast<std::size_t>(cx) * crop.width + cy
                                              : static_cast<std::size_t>(cy) * crop.width + cx;
            crop.pixels[at] = mono ? levels[(line[x >> 3] >> (7 - (x & 7))) & 1] : line[x];
        }
    }
    return crop;
}

void UnturnMaxiCode(Crop& crop, int turn) {
    const QImage turned(crop.pixels.data(), crop.width, crop.height, crop.width, QImage::Format_Grayscale8);
    const QImage upright = turned.transformed(QTransform().rotate(-turn / 10.0));
    crop.width = upright.width();
    crop.height = upright.height();
    crop.pixels.resize(static_cast<std::size_t>(crop.width) * static_cast<std::size_t>(crop.height));
    for (int y = 0; y < crop.height; ++y) {
        std::copy_n(upright.constScanLine(y), crop.width,
                    crop.pixels.begin() + static_cast<std::ptrdiff_t>(y) * crop.width);
    }
}

// Bars and spaces (or dark and light modules) met along one line of the crop, from the first dark
// pixel to the last.
std::vector<int> Runs(const Crop& crop, QPoint from, QPoint step, int length) {
    std::vector<int> runs;
    bool started = false;
    bool dark = false;
    int run = 0;
    int lastDarkEnd = 0;  // runs up to and including the last dark one
    for (int i = 0; i < length; ++i) {
        const QPoint p = from + step * i;
        if (p.x() < 0 || p.y() < 0 || p.x() >= crop.width || p.y() >= crop.height) {
            continue;
        }
        const bool d = crop.Dark(p.x(), p.y());
        if (!started) {
            if (!d) {
                continue;
            }
            started = true;
            dark = true;
            run = 0;
        }
        if (d != dark) {
            runs.push_back(run);
            if (dark) {
                lastDarkEnd = static_cast<int>(runs.size());
            }
            dark = d;
            run = 0;
        }
        ++run;
    }
    if (started && dark) {
        runs.push_back(run);
        lastDarkEnd = static_cast<int>(runs.size());
    }
    runs.resize(static_cast<std::size_t>(lastDarkEnd));
    return runs;
}

// The narrowest module and the spread of widths among runs of one module count, with module the
// nominal width of one module in dots.
void MeasureRuns(const std::vector<int>& runs, double module, ElementCheck& check) {
    if (runs.empty() || module <= 0) {
        return;
    }
    std::map<long, std::pair<int, int>> byCount;  // modules → narrowest, widest
    for (const int run : runs) {
        const long count = std::max(1L, std::lround(run / module));
        auto [it, fresh] = byCount.try_emplace(count, run, run);
        if (!fresh) {
            it->second.first = std::min(it->second.first, run);
            it->second.second = std::max(it->second.second, run);
        }
    }
    const auto& [count, widths] = *byCount.begin();
    check.narrowestModule = static_cast<int>(widths.first / count);
    for (const auto& [modules, range] : byCount) {
        check.moduleSpread = std::max(check.moduleSpread, range.second - range.first);
    }
}

bool AnyDark(const Crop& crop, const QRect& local) {
    const QRect inside = local.intersected(QRect(0, 0, crop.width, crop.height));
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (crop.Dark(x, y)) {
                return true;
            }
        }
    }
    return false;
}

// The quiet zone: strips of white the symbol needs beyond its image (page coordinates).
QuietZone CheckQuietZone(const Crop& crop, const QRect& pageRect, const QRect& symbol,
                         const std::vector<QRect>& strips) {
    if (!pageRect.contains(symbol)) {
        return QuietZone::CutByLabelEdge;
    }
    for (const QRect& strip : strips) {
        if (!strip.isEmpty() && !pageRect.contains(strip)) {
            return QuietZone::CutByLabelEdge;
        }
    }
    for (const QRect& strip : strips) {
        if (!strip.isEmpty() && AnyDark(crop, crop.Local(strip))) {
            return QuietZone::CutByElement;
        }
    }
    return QuietZone::Clear;
}

// A fast pass first; a symbol it misses gets every line and downscaled copies too, as a scanner's
// optics would blur a bar a dot too wide.
std::string Decode(const Crop& crop, const Expectation& expected, bool thorough, bool& found) {
    ZXing::DecodeHints hints;
    hints.setFormats(Formats(expected.family));
    hints.setTryRotate(!IsLinear(expected.family));
    hints.setTryHarder(thorough);
    hints.setTryDownscale(thorough);
    hints.setTryCode39ExtendedMode(expected.family == CodeFamily::Code39Extended);
    hints.setIsPure(expected.family == CodeFamily::MaxiCode);
    const ZXing::ImageView view(crop.pixels.data(), crop.width, crop.height, ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    found = result.isValid();
    return found ? result.text() : std::string();
}

std::uint64_t Key(const Crop& crop, const QImage& page, const DrawnElement& drawn,
                  const Expectation* expected) {
    std::uint64_t key = qHashBits(crop.pixels.data(), crop.pixels.size(), 0x5eed);
    const int fields[] = {crop.rect.x(), crop.rect.y(), crop.rect.width(),        crop.rect.height(),
                          page.width(),  page.height(), drawn.element.nSymbology, drawn.element.nEscapement};
    key = qHashBits(fields, sizeof fields, key);
    if (expected) {
        key = qHashBits(expected->text.data(), expected->text.size(), key);
    }
    return key;
}

}  // namespace

bool PageCheck::Fails() const {
    return std::any_of(elements.begin(), elements.end(), [](const ElementCheck& e) { return e.Fails(); });
}

std::vector<DrawnElement> DrawnElements(const ElementList& elements) {
    std::vector<DrawnElement> drawn;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element* e = elements[i].get();
        if (e && (e->nKind == ElementKind::Barcode || e->nKind == ElementKind::Code2D)) {
            drawn.push_back(DrawnElement{static_cast<int>(i), *e});
        }
    }
    return drawn;
}

PageCheck LabelChecker::CheckPage(const QImage& page, std::span<const DrawnElement> elements) {
    // The print path's 1-bit pages are read as they are; anything else as grey.
    const bool direct = page.format() == QImage::Format_Mono || page.format() == QImage::Format_Grayscale8;
    const QImage grey = direct ? page : page.convertToFormat(QImage::Format_Grayscale8);
    PageCheck check;
    for (const DrawnElement& drawn : elements) {
        if (OutputSymbolArea(drawn.element)) {
            check.elements.push_back(CheckElement(grey, drawn));
        }
    }
    return check;
}

int LabelChecker::ModuleCount(const Element& element) {
    // Counting encodes the symbol: once per content, not once per page.
    std::string key = std::to_string(element.nSymbology) + ':';
    key += ContentBytes(element);
    if (const auto known = m_moduleCounts.find(key); known != m_moduleCounts.end()) {
        return known->second;
    }
    if (m_moduleCounts.size() >= kMaxCached) {
        m_moduleCounts.clear();
    }
    return m_moduleCounts[key] = LinearModuleCount(element);
}

ElementCheck LabelChecker::CheckElement(const QImage& grey, const DrawnElement& drawn) {
    const Element& element = drawn.element;
    const SymbolArea area = *OutputSymbolArea(element);
    const std::optional<Expectation> expected = ExpectedReading(element);
    ElementCheck check;
    check.index = drawn.index;
    check.symbology = element.nSymbology;
    check.area = area.symbol;
    if (!expected) {
        return check;  // not checked
    }
    check.expected = expected->text;
    const QRect symbol = area.symbol;
    const bool linear = IsLinear(expected->family);

    // Module size: a linear code's width over its module count; a 2D symbol's narrowest run.
    double module = 0;
    if (linear) {
        const int modules = ModuleCount(element);
        const int extent = area.verticalAxis ? symbol.height() : symbol.width();
        module = modules > 0 ? static_cast<double>(extent) / modules : 0;
    }
    const auto quietDots = [&](int modules) {
        return static_cast<int>(std::ceil(modules * std::max(module, 1.0)));
    };
    const int before = linear ? quietDots(expected->quietBefore) : 0;
    const int after = linear ? quietDots(expected->quietAfter) : 0;
    QRect rect =
        area.verticalAxis
            ? symbol.adjusted(-kDecodeMargin, -before - kDecodeMargin, kDecodeMargin, after + kDecodeMargin)
            : symbol.adjusted(-before - kDecodeMargin, -kDecodeMargin, after + kDecodeMargin, kDecodeMargin);
    if (!linear) {
        // A 2D quiet zone is counted in modules measured below; leave room for a generous one.
        const int room = std::max(kDecodeMargin, symbol.width() / 4);
        rect = symbol.adjusted(-room, -room, room, room);
    }
    // Beyond the page is white: a little of it is the decoder's margin, more is only memory (a
    // hostile record's box can be millions of dots).
    rect = rect.intersected(
        grey.rect().adjusted(-kOffPageMargin, -kOffPageMargin, kOffPageMargin, kOffPageMargin));
    if (rect.isEmpty()) {
        check.result = ReadResult::DoesNotRead;  // nothing of it is on the page
        check.quietZone = QuietZone::CutByLabelEdge;
        return check;
    }
    // zxing reads one orientation of linear codes cheaply: hand it the bars left to right.
    Crop crop = CropPage(grey, rect, linear && area.verticalAxis);
    if (expected->family == CodeFamily::MaxiCode && area.turn != 0) {
        // The decoder finds MaxiCode only upright; zint turned it clockwise by the angle.
        UnturnMaxiCode(crop, area.turn);
    }

    const std::uint64_t key = Key(crop, grey, drawn, &*expected);
    if (const auto hit = m_cache.find(key); hit != m_cache.end()) {
        ElementCheck cached = hit->second;
        cached.index = drawn.index;
        return cached;
    }

    // Measure across the middle of the symbol.
    const QRect local = crop.Local(symbol);
    if (linear) {
        const QPoint from(local.left(), local.top() + local.height() / 2);
        MeasureRuns(Runs(crop, from, QPoint(1, 0), local.width()), module, check);
    } else {
        std::vector<int> runs =
            Runs(crop, QPoint(local.left(), local.top() + local.height() / 2), QPoint(1, 0), local.width());
        const std::vector<int> down =
            Runs(crop, QPoint(local.left() + local.width() / 2, local.top()), QPoint(0, 1), local.height());
        runs.insert(runs.end(), down.begin(), down.end());
        if (!runs.empty()) {
            module = *std::min_element(runs.begin(), runs.end());
            MeasureRuns(runs, module, check);
        }
    }

    // Strips of quiet zone beyond the symbol's image, in page coordinates.
    std::vector<QRect> strips;
    if (linear) {
        // Which end the symbol starts at follows its turn (counter-clockwise).
        const int startDots = area.turn == 1800 || area.turn == 900 ? after : before;
        const int endDots = area.turn == 1800 || area.turn == 900 ? before : after;
        if (area.verticalAxis) {
            // At 900 the symbol starts at the bottom, at 2700 at the top.
            const int top = area.turn == 900 ? endDots : startDots;
            const int bottom = area.turn == 900 ? startDots : endDots;
            strips.emplace_back(symbol.left(), symbol.top() - top, symbol.width(), top);
            strips.emplace_back(symbol.left(), symbol.bottom() + 1, symbol.width(), bottom);
        } else {
            strips.emplace_back(symbol.left() - startDots, symbol.top(), startDots, symbol.height());
            strips.emplace_back(symbol.right() + 1, symbol.top(), endDots, symbol.height());
        }
    } else {
        const int q = quietDots(expected->quietBefore);
        strips.emplace_back(symbol.left() - q, symbol.top() - q, symbol.width() + 2 * q, q);
        strips.emplace_back(symbol.left() - q, symbol.bottom() + 1, symbol.width() + 2 * q, q);
        strips.emplace_back(symbol.left() - q, symbol.top(), q, symbol.height());
        strips.emplace_back(symbol.right() + 1, symbol.top(), q, symbol.height());
    }
    check.quietZone = CheckQuietZone(crop, grey.rect(), symbol, strips);

    ++m_decodes;
    bool found = false;
    check.read = Decode(crop, *expected, false, found);
    if (!found) {
        check.read = Decode(crop, *expected, true, found);
    }
    if (expected->family == CodeFamily::Code128) {
        std::erase(check.read, '\x1d');  // GS1 field separators
    }
    check.result = !found                         ? ReadResult::DoesNotRead
                   : check.read == expected->text ? ReadResult::ReadsRight
                                                  : ReadResult::ReadsWrong;
    if (m_cache.size() >= kMaxCached) {
        m_cache.clear();
    }
    m_cache.emplace(key, check);
    return check;
}

}  // namespace etiqo
