// The symbol cache: handles, release, sweeping, the PNG file it keeps, and the size caps.

#include <gtest/gtest.h>

#include <zint.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "RenderSupport.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"
#include "render/QrMask.h"
#include "render/ZintSymbol.h"

namespace etiqo::test {
namespace {

// libzint's own bitmap, encoded as the renderer encodes a barcode, in RGB32.
QImage ZintBitmap(int symbology, const char* content, int scale, int angle) {
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = symbology;
    symbol->scale = static_cast<float>(scale);
    symbol->show_hrt = 0;
    QImage image;
    if (ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(content),
                                   static_cast<int>(std::strlen(content)), angle) < ZINT_ERROR) {
        image = QImage(symbol->bitmap, symbol->bitmap_width, symbol->bitmap_height, symbol->bitmap_width * 3,
                       QImage::Format_RGB888)
                    .convertToFormat(QImage::Format_RGB32);
    }
    ZBarcode_Delete(symbol);
    return image;
}

// Handles are non-zero and distinct, gone once released or no live element names them; a stale
// handle read from a file is encoded anew; fitted copies.
TEST(SymbolCache, HandlesLiveAsLongAsAnElementNamesThem) {
    SymbolCache cache;
    ElementList elements;
    for (const char* content : {"A", "B", "C"}) {
        auto e = std::make_unique<Element>(Make2DElement(0, 0, content));
        e->hImage = cache.Store(EncodeSymbol({58, content, 100, false}));
        elements.push_back(std::move(e));
    }
    EXPECT_NE(elements[0]->hImage, 0U);
    EXPECT_NE(elements[0]->hImage, elements[1]->hImage);
    EXPECT_EQ(cache.Find(0), nullptr);
    EXPECT_EQ(cache.Find(12345), nullptr);
    cache.Release(999);  // unknown: ignored
    cache.Release(elements[2]->hImage);
    EXPECT_EQ(cache.Find(elements[2]->hImage), nullptr);
    const std::uint32_t dropped = elements[1]->hImage;
    elements.erase(elements.begin() + 1);
    cache.DropUnreferenced(elements);
    EXPECT_EQ(cache.Size(), 1U);
    EXPECT_EQ(cache.Find(dropped), nullptr);
    EXPECT_NE(cache.Find(elements[0]->hImage), nullptr);

    Element stale = Make2DElement(0, 0, "ETIQO");
    stale.hImage = 77;
    stale.bSelected = 0;
    RenderElement(stale, cache, 200, 200, false);
    EXPECT_NE(stale.hImage, 0U);
    EXPECT_NE(cache.Find(stale.hImage), nullptr);

    // Fitted images are reused, and none is made too large or empty.
    const std::uint32_t handle = cache.Store(EncodeSymbol({20, "ETIQO", 42, true}));
    const QImage first = cache.Fitted(handle, QSize(333, 77), FitMode::TileRows);
    EXPECT_EQ(first.size(), QSize(333, 77));
    EXPECT_EQ(cache.Fitted(handle, QSize(333, 77), FitMode::TileRows).cacheKey(), first.cacheKey());
    // A grey page's fit is the same dots, and kept beside the colour one.
    const QImage grey = cache.Fitted(handle, QSize(333, 77), FitMode::TileRows, QImage::Format_Grayscale8);
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(grey.convertToFormat(QImage::Format_RGB32), first);
    EXPECT_EQ(cache.Fitted(handle, QSize(333, 77), FitMode::TileRows).cacheKey(), first.cacheKey());
    EXPECT_TRUE(cache.Fitted(handle, QSize(100000, 100000), FitMode::Stretch).isNull());
    EXPECT_TRUE(cache.Fitted(handle, QSize(0, 10), FitMode::Stretch).isNull());
}

// The cache keeps a linear barcode or a matrix symbol small and repeats its pixels; what it stands for must
// be exactly what libzint draws at the element's scale, for every symbology and angle.
TEST(ZintSymbol, EveryImageIsLibzintsBitmapAtTheScale) {
    const std::array<const char*, 4> contents = {"12345678", "A0123456789B", "[01]12345678901231", "1234567"};
    int compared = 0;
    for (int symbology = 1; symbology <= BARCODE_LAST; ++symbology) {
        if (ZBarcode_ValidID(symbology) == 0 || symbology == BARCODE_MAXICODE) {
            continue;  // MaxiCode's hexagons take seconds at these scales; it is a 2D symbol anyway
        }
        for (const char* content : contents) {
            // The 2D ones as 2D elements.
            SymbolRequest request{symbology, content, 42, ZBarcode_Cap(symbology, ZINT_CAP_ECI) == 0};
            if (EncodeSymbol(request).image.isNull()) {
                continue;
            }
            for (const int width : {42, 130, 300}) {
                for (const int angle : {0, 90, 180, 270}) {
                    request.widthDots = width;
                    request.angle = angle;
                    const SymbolImage symbol = EncodeSymbol(request);
                    const QImage zint = ZintBitmap(symbology, content, SymbolScale(width), angle);
                    ASSERT_EQ(symbol.FullImage(), zint)
                        << "symbology " << symbology << " width " << width << " angle " << angle;
                    ++compared;
                }
            }
            break;
        }
    }
    EXPECT_GT(compared, 12 * 60);
}

// A QR code's mask is chosen outside libzint; the choice must stay libzint's whatever version,
// mode, error correction level and ECI the content leads to.
TEST(ZintSymbol, QrCodesKeepLibzintsMask) {
    const std::array<std::string_view, 4> alphabets = {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:",
                                                       "abcdefghijklmnopqrstuvwxyz-_/.:?=&", "货品编号a"};
    std::mt19937 random(14);
    std::array<bool, 41> versions{};
    for (int i = 0; i < 200; ++i) {
        const std::string_view alphabet = alphabets[i % 4];
        const bool chinese = i % 4 == 3;
        const int length = 1 + i * i * 10 / (chinese ? 550 : 136);  // byte mode reaches version 40
        std::string utf8;
        while (static_cast<int>(utf8.size()) < length) {
            const std::size_t at = random() % (chinese ? 5 : alphabet.size());
            utf8 += chinese && at < 4 ? alphabet.substr(3 * at, 3) : alphabet.substr(chinese ? 12 : at, 1);
        }
        zint_symbol* zint = ZBarcode_Create();
        zint->symbology = BARCODE_QRCODE;
        zint->input_mode = UNICODE_MODE;
        zint->eci = std::any_of(utf8.begin(), utf8.end(), [](char c) { return c & 0x80; }) ? 26 : 0;
        zint->scale = 0.5F;
        ASSERT_LT(ZBarcode_Encode_and_Buffer(zint, reinterpret_cast<const unsigned char*>(utf8.data()),
                                             static_cast<int>(utf8.size()), 0),
                  ZINT_ERROR);
        const QImage expected = QImage(zint->bitmap, zint->bitmap_width, zint->bitmap_height,
                                       zint->bitmap_width * 3, QImage::Format_RGB888)
                                    .convertToFormat(QImage::Format_RGB32);
        versions[(zint->width - 17) / 4] = true;
        ZBarcode_Delete(zint);
        const std::string content = Gb18030FromUtf8(utf8);
        const SymbolImage symbol = EncodeSymbol({BARCODE_QRCODE, content, 42, false});
        ASSERT_EQ(symbol.image.convertToFormat(QImage::Format_RGB32), expected) << i << ": " << utf8;
    }
    EXPECT_EQ(std::count(versions.begin(), versions.end(), true), 40);

    QrModules modules{21, std::vector<QrModules::Row>(21)};
    EXPECT_EQ(ChooseQrMask(modules, 0), -1);  // no format information
    modules = {20, std::vector<QrModules::Row>(20)};
    EXPECT_EQ(ChooseQrMask(modules, 0), -1);
}

// Memory follows what a label holds, not how it spells it: one picture under many spellings is
// decoded once, symbols are kept at a bit a pixel, and what can be made again stays in the budget.
TEST(SymbolCache, KeepsItsImagesWithinOneBudget) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "a");
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "a" / "b.png").string())));
    std::filesystem::create_symlink(dir / "a" / "b.png", dir / "link.png");
    SymbolCache cache;
    for (const char* spelling : {"a/b.png", "a/./b.png", "a//b.png", "a/../a/b.png", "link.png"}) {
        EXPECT_FALSE(cache.Picture(QString::fromStdString((dir / spelling).string())).isNull()) << spelling;
    }
    EXPECT_EQ(cache.Bytes(), 400 * 300 * 4);

    constexpr qint64 kBudget = 16LL * 1024 * 1024;
    cache.SetBudgetForTesting(kBudget);
    qint64 symbolBytes = 0;
    for (int i = 0; i < 12; ++i) {
        const std::uint32_t handle =
            cache.Store(EncodeSymbol({BARCODE_QRCODE, std::to_string(i), 4000, false}));
        const QSize size = cache.Find(handle)->Size();
        symbolBytes += (size.width() + 31) / 32 * 4 * qint64{size.height()};
        EXPECT_FALSE(cache.Fitted(handle, QSize(1500, 1500), FitMode::Stretch).isNull());
    }
    EXPECT_GT(symbolBytes, 12LL * 1000 * 1000 / 8) << "large symbols";
    EXPECT_LE(cache.Bytes(), kBudget + symbolBytes);
}

}  // namespace
}  // namespace etiqo::test
