#include "render/ZintSymbol.h"

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "model/TextCodec.h"
#include "render/BitOrder.h"
#include "render/QrMask.h"
#include "render/RenderParts.h"

namespace etiqo {

namespace {

// libzint crashes on huge bitmaps (a MaxiCode at scale 1000 asks for gigabytes); no symbol
// bitmap may grow past this.
constexpr double kMaxBitmapPixels = 4.0e6;

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using SymbolPtr = std::unique_ptr<zint_symbol, SymbolDeleter>;

// Linear symbologies whose bitmap at scale s is their scale-½ bitmap with every pixel repeated
// 2s times (zint draws them from whole modules and a height proportional to the scale). Stacked
// symbols, postal codes and BC412 round their heights per scale and are encoded at full size.
bool ScalesByRepeating(int symbology) {
    switch (symbology) {
        case BARCODE_CODE16K:
        case BARCODE_CODE49:
        case BARCODE_CODABLOCKF:
        case BARCODE_HIBC_BLOCKF:
            return false;
        default:
            return ZBarcode_Cap(symbology, ZINT_CAP_STACKABLE) != 0;
    }
}

// Matrix symbols drawn from square (or, for PDF417, rectangular) modules scale the same way: zint's
// bitmap at scale s is the scale-½ one repeated 2s times, for every angle. MaxiCode's hexagons and
// DotCode's dots are drawn anew at each scale.
bool MatrixScalesByRepeating(int symbology) {
    switch (symbology) {
        case BARCODE_QRCODE:
        case BARCODE_MICROQR:
        case BARCODE_RMQR:
        case BARCODE_DATAMATRIX:
        case BARCODE_AZTEC:
        case BARCODE_AZRUNE:
        case BARCODE_GRIDMATRIX:
        case BARCODE_HANXIN:
        case BARCODE_PDF417:
        case BARCODE_PDF417COMP:
        case BARCODE_MICROPDF417:
        case BARCODE_CODEONE:
        case BARCODE_ULTRA:
            return true;
        default:
            return false;
    }
}

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

struct Encoded {
    SymbolPtr symbol;
    int status = ZINT_ERROR;
};

// drawMask: 0 lets zint choose a QR code's mask, 1 to 8 tells it mask 0 to 7 and skips its search;
// such a symbol is encoded only, not drawn.
Encoded Encode(const SymbolRequest& request, const std::string& data, float scale, int drawMask = 0) {
    Encoded result{SymbolPtr(ZBarcode_Create())};
    zint_symbol* symbol = result.symbol.get();
    if (!symbol) {
        return result;
    }
    symbol->symbology = request.symbology;
    symbol->scale = scale;
    if (request.barcode) {
        symbol->show_hrt = 0;
    } else {
        // Phones read Chinese right only from UTF-8 announced by ECI 26.
        symbol->input_mode = UNICODE_MODE;
        if (HasNonAscii(data) && ZBarcode_Cap(request.symbology, ZINT_CAP_ECI) != 0) {
            symbol->eci = 26;
        }
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    if (drawMask != 0) {
        symbol->option_3 = drawMask << 8;
        result.status = ZBarcode_Encode(symbol, bytes, static_cast<int>(data.size()));
    } else {
        result.status =
            ZBarcode_Encode_and_Buffer(symbol, bytes, static_cast<int>(data.size()), request.angle);
    }
    return result;
}

bool HasBitmap(const Encoded& encoded) {
    return encoded.symbol && encoded.status < ZINT_ERROR && encoded.symbol->bitmap &&
           encoded.symbol->bitmap_width > 0 && encoded.symbol->bitmap_height > 0;
}

// zint draws black on white: such a bitmap is kept at one bit a pixel (a 4-megapixel QR code in
// half a megabyte instead of sixteen), made here by the thread that encoded it. A bitmap with
// colours stays 32-bit.
QImage ImageFromBitmap(const zint_symbol& symbol) {
    const int width = symbol.bitmap_width;
    const int height = symbol.bitmap_height;
    QImage mono(width, height, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});  // as Qt's own conversion has it
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height && !mono.isNull(); ++y) {
        const unsigned char* rgb = symbol.bitmap + y * rowBytes;
        uchar* line = mono.scanLine(y);
        if (y > 0 && std::memcmp(rgb, rgb - rowBytes, rowBytes) == 0) {
            std::copy_n(mono.constScanLine(y - 1), mono.bytesPerLine(), line);  // a linear code's rows
            continue;
        }
        std::fill_n(line, mono.bytesPerLine(), uchar{0});
        for (int x = 0; x < width; ++x, rgb += 3) {
            const int sum = rgb[0] + rgb[1] + rgb[2];
            if (sum != 0 && sum != 3 * 255) {
                // A deep copy: the bitmap dies with the symbol.
                return QImage(symbol.bitmap, width, height, width * 3, QImage::Format_RGB888)
                    .convertToFormat(QImage::Format_RGB32);
            }
            line[x / 8] |= static_cast<uchar>(sum == 0 ? 0x80 >> (x % 8) : 0);
        }
    }
    return mono;
}

// A QR code in the scale-½ bitmap zint would draw (one pixel a module, no margin), its mask chosen
// here (QrMask.h): a null image when zint's symbol is not the QR code that expects.
QImage QrCodeWithOwnMask(const SymbolRequest& request, const std::string& data) {
    constexpr int kDrawnMask = 0;
    const Encoded encoded = Encode(request, data, 0.5F, kDrawnMask + 1);
    const zint_symbol* symbol = encoded.symbol.get();
    if (!symbol || encoded.status >= ZINT_ERROR || symbol->width != symbol->rows ||
        symbol->width > QrModules::kMaxSize) {
        return {};
    }
    QrModules modules{symbol->width, std::vector<QrModules::Row>(symbol->width)};
    const int bytesPerRow = (modules.size + 7) / 8;
    for (int y = 0; y < modules.size; ++y) {
        for (int i = 0; i < bytesPerRow; ++i) {  // zint's rows: module x in bit x % 8 of byte x / 8
            modules.rows[y][i / 8] |= std::uint64_t{symbol->encoded_data[y][i]} << (8 * (i % 8));
        }
        if (modules.size % 64 != 0) {
            modules.rows[y][modules.size / 64] &= (std::uint64_t{1} << (modules.size % 64)) - 1;
        }
    }
    if (ChooseQrMask(modules, kDrawnMask) < 0) {
        return {};
    }
    QImage mono(modules.size, modules.size, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < modules.size && !mono.isNull(); ++y) {
        uchar* line = mono.scanLine(y);
        for (int i = 0; i < bytesPerRow; ++i) {  // Qt's: the first pixel in the high bit
            const auto bits = static_cast<std::uint8_t>(modules.rows[y][i / 8] >> (8 * (i % 8)));
            line[i] = ReversedBits(bits);
        }
    }
    return mono;
}

std::string ErrorText(const Encoded& encoded) {
    if (!encoded.symbol) {
        return "no memory for a symbol";
    }
    const std::string text(encoded.symbol->errtxt,
                           ::strnlen(encoded.symbol->errtxt, sizeof encoded.symbol->errtxt));
    return text.empty() ? std::string("no symbol") : text;
}

}  // namespace

int SymbolScale(int widthDots) {
    return std::max(widthDots / 42, 1);
}

SymbolImage EncodeSymbol(const SymbolRequest& request) {
    const std::string data =
        request.barcode ? std::string(request.content) : Utf8FromGb18030(request.content);
    if (data.empty()) {
        return SymbolImage{{}, 1, "no data"};
    }
    // The scale asked for, within the bitmap size allowed: a bitmap grows with the square of it.
    const auto scaleFor = [&](double scaleOnePixels) {
        const int allowed = std::max(1, static_cast<int>(std::sqrt(kMaxBitmapPixels / scaleOnePixels)));
        return std::min(SymbolScale(request.widthDots), allowed);
    };
    // Encoded once, small: a QR code from a field is encoded anew for every record.
    const bool repeating =
        request.barcode ? ScalesByRepeating(request.symbology) : MatrixScalesByRepeating(request.symbology);
    if (!request.barcode && request.symbology == BARCODE_QRCODE && request.angle == 0) {
        if (QImage modules = QrCodeWithOwnMask(request, data); !modules.isNull()) {
            const int scale = scaleFor(4.0 * modules.width() * modules.height());
            return SymbolImage{std::move(modules), 2 * scale, {}};
        }
    }
    Encoded encoded = Encode(request, data, repeating ? 0.5F : 1.0F);
    if (!HasBitmap(encoded)) {
        return SymbolImage{{}, 1, ErrorText(encoded)};
    }
    const int scale = scaleFor(static_cast<double>(encoded.symbol->bitmap_width) *
                               encoded.symbol->bitmap_height * (repeating ? 4.0 : 1.0));
    if (repeating) {
        return SymbolImage{ImageFromBitmap(*encoded.symbol), 2 * scale, {}};
    }
    if (scale > 1) {
        encoded = Encode(request, data, static_cast<float>(scale));
        if (!HasBitmap(encoded)) {
            return SymbolImage{{}, 1, ErrorText(encoded)};
        }
    }
    return SymbolImage{ImageFromBitmap(*encoded.symbol), 1, {}};
}

}  // namespace etiqo
