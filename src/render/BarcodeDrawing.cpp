// zint barcodes and 2D symbols: encoded once into the symbol cache, drawn with nearest-neighbour
// sampling so module edges stay sharp, the caption drawn by us with the element's own font.

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "model/Ean13.h"
#include "render/FontMapping.h"
#include "render/RenderParts.h"
#include "render/SymbolCache.h"
#include "render/ZintSymbol.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

// Fitted bitmaps up to this size are always made, whatever the device (a 2000-dot square).
constexpr qint64 kHugeBoxPixels = 2000LL * 2000;

// What the encoder is given for the element at zint's angle.
SymbolRequest RequestFor(const Element& element, int angle) {
    SymbolRequest request;
    request.symbology = element.nSymbology;
    request.content = ContentBytes(element);
    request.widthDots = element.nWidth;
    request.barcode = element.nKind == ElementKind::Barcode;
    request.angle = angle;
    return request;
}

// The element's cached symbol, encoded first when it has none and encoding is allowed.
// A stale handle (from a file, or released elsewhere) counts as none.
const SymbolImage* CachedSymbol(const RenderContext& context, Element& element, bool mayEncode, int angle) {
    if (const SymbolImage* symbol = context.symbols.Find(element.hImage)) {
        return symbol;
    }
    element.hImage = 0;
    if (!mayEncode) {
        return nullptr;
    }
    const SymbolRequest request = RequestFor(element, angle);
    SymbolImage symbol = EncodeSymbol(request);
    if (symbol.image.isNull() && context.warn) {
        context.warn(UiText(TextId::RenderCannotEncode)
                         .arg(RecordText(request.content), QString::fromStdString(symbol.error))
                         .toStdString());
    }
    element.hImage = context.symbols.Store(std::move(symbol));
    return context.symbols.Find(element.hImage);
}

bool HasImage(const SymbolImage* symbol) {
    return symbol && !symbol->image.isNull();
}

// A PDF keeps every image it is given, losslessly and again on each page where it changes. All
// rows of a linear barcode are alike, or all columns when it is turned: one of them stretched
// over the box is the same bars in a fraction of the bytes and time. Null when neither holds.
QImage RepeatedStrip(const QImage& image) {
    if (image.depth() != 32) {
        return {};
    }
    const int width = image.width();
    const int height = image.height();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    bool rowsAlike = true;
    for (int y = 1; y < height && rowsAlike; ++y) {
        rowsAlike = std::memcmp(image.constScanLine(y), image.constScanLine(0), rowBytes) == 0;
    }
    if (rowsAlike) {
        return image.copy(0, 0, width, 1);
    }
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(line + 1, line + width, [&](QRgb pixel) { return pixel != line[0]; })) {
            return {};
        }
    }
    return image.copy(0, 0, 1, height);
}

void DrawFitted(const RenderContext& context, const Element& element, const QRect& box, FitMode mode) {
    // A box larger than the whole device (only a hostile record has one) is not worth a bitmap of
    // its size: the painter scales the symbol itself and draws only what lands on the device.
    const QPaintDevice* device = context.painter.device();
    const qint64 deviceArea = device ? qint64{device->width()} * device->height() : 0;
    if (qint64{box.width()} * box.height() > std::max<qint64>(deviceArea, kHugeBoxPixels)) {
        const SymbolImage* symbol = context.symbols.Find(element.hImage);
        if (symbol && !symbol->image.isNull()) {
            context.painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            context.painter.drawImage(box, symbol->image);
        }
        return;
    }
    // A grey page (printing, export) takes the symbol as grey rows copied in.
    const bool grey = device && device->devType() == QInternal::Image &&
                      static_cast<const QImage*>(device)->format() == QImage::Format_Grayscale8;
    const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    const QImage fitted = context.symbols.Fitted(element.hImage, box.size(), mode, format);
    if (fitted.isNull()) {
        return;
    }
    const QPaintEngine* engine = context.painter.paintEngine();
    if (engine && engine->type() != QPaintEngine::Raster) {
        if (const QImage strip = RepeatedStrip(fitted); !strip.isNull()) {
            context.painter.save();
            context.painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            context.painter.drawImage(QRect(box.topLeft(), fitted.size()), strip);
            context.painter.restore();
            return;
        }
        // Qt's PDF writer keeps a 1-bit image with black as colour 0 as a stencil painted in the
        // pen's colour: the same dots as 32-bit pixels in a thirty-second of the bytes to compress,
        // for every label whose symbol differs from the last.
        QImage stencil = fitted.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        if (stencil.colorCount() == 2 && stencil.color(0) == qRgb(255, 255, 255)) {
            stencil.invertPixels();
            stencil.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        }
        context.painter.save();
        context.painter.setPen(Qt::black);
        context.painter.drawImage(box.topLeft(), stencil);
        context.painter.restore();
        return;
    }
    context.painter.drawImage(box.topLeft(), fitted);
}

// The caption font: the element's font at the display scale.
TextFont CaptionFont(const RenderContext& context, const Element& element, const QString& text,
                     int escapement) {
    LOGFONTA copy = element.lfFont;
    copy.lfHeight = TruncToInt(element.lfFont.lfHeight * context.scale.y);
    copy.lfEscapement = escapement;
    return FontFromLogFont(copy, text, ContentBytes(element).size());
}

}  // namespace

void DrawBarcodeElement(const RenderContext& context, Element& element) {
    const SymbolImage* symbol = CachedSymbol(context, element, true, 0);
    const DeviceBox box = ComputeDeviceBox(context, element);
    const int caption = element.bShowText == 0 ? 0
                        : context.bPrinting    ? element.lfFont.lfHeight
                                               : TruncToInt(element.lfFont.lfHeight * context.scale.y);
    const int barHeight = ClampCoordinate(std::int64_t{box.height} - caption - 2);
    const QRect bars(box.left, box.top, box.width, barHeight);
    if (HasImage(symbol)) {
        // The image's width is stretched over the box; its rows are taken one to one and repeated
        // downward, so the bars fill the bar height whatever height zint gave them.
        DrawFitted(context, element, bars, FitMode::TileRows);
    } else if (!context.bPrinting) {
        DrawUnencodable(context.painter, QRect(box.left, box.top, box.width, box.height),
                        RecordText(ContentBytes(element)));
    }
    int bottom = box.top + box.height;
    if (element.bShowText != 0) {
        const QString text = RecordText(ContentBytes(element));
        const TextFont font = CaptionFont(context, element, text, element.lfFont.lfEscapement);
        const QSize extent = MeasureText(font, text);
        DrawTextAt(context.painter, font,
                   QPoint(box.left + (box.width - extent.width()) / 2, box.top + barHeight), text);
        bottom = box.top + barHeight + extent.height();
    }
    if (WantsGrips(context, element)) {
        DrawGrips(context.painter, element, box.left, box.top, box.width, bottom - box.top, 4,
                  GripMiddle::Barcode);
    }
}

void Encode2DCodeIfNeeded(const RenderContext& context, Element& element) {
    // zint turns clockwise: the symbol turns the other way from every other element.
    CachedSymbol(context, element, true, QuarterTurn(element.nEscapement) / 10);
}

std::optional<SymbolRequest> OutputSymbol(const Element& element) {
    if (element.nKind == ElementKind::Barcode && element.nSymbology == kSymbologyOwnEan13) {
        return std::nullopt;  // drawn by us
    }
    if (element.nKind != ElementKind::Barcode && element.nKind != ElementKind::Code2D) {
        return std::nullopt;
    }
    const int turn = QuarterTurn(element.nEscapement);
    return RequestFor(element, element.nKind == ElementKind::Code2D ? turn / 10
                               : turn == 0                          ? 0
                                                                    : (3600 - turn) / 10);
}

std::string EncodeForOutput(const RenderContext& context, Element& element) {
    if (element.nKind == ElementKind::Barcode && element.nSymbology == kSymbologyOwnEan13) {
        return Ean13Code::Encode(ContentBytes(element)) ? std::string() : Tr(TextId::DataEan13Digits);
    }
    const std::optional<SymbolRequest> request = OutputSymbol(element);
    if (!request) {
        return {};
    }
    const SymbolImage* symbol = CachedSymbol(context, element, true, request->angle);
    return HasImage(symbol) ? std::string() : symbol ? symbol->error : std::string("?");
}

void Draw2DCodeElement(const RenderContext& context, Element& element) {
    const SymbolImage* symbol =
        CachedSymbol(context, element, !context.bPrinting, QuarterTurn(element.nEscapement) / 10);
    const DeviceBox box = ComputeDeviceBox(context, element);
    // Every 2D symbol but PDF417 is square, as wide as the element.
    const int drawnHeight = element.nSymbology == kSymbologyPdf417 ? box.height : box.width;
    const QRect drawn(box.left, box.top, box.width, drawnHeight);
    if (HasImage(symbol)) {
        DrawFitted(context, element, drawn, FitMode::Stretch);
    } else if (symbol && !context.bPrinting) {
        DrawUnencodable(context.painter, drawn, RecordText(ContentBytes(element)));
    }
    if (WantsGrips(context, element)) {
        DrawGrips(context.painter, element, box.left, box.top, box.width, drawnHeight, 4,
                  GripMiddle::Barcode);
    }
}

void DrawRotatedBarcode(const RenderContext& context, Element& element, int turn) {
    // zint's angle turns clockwise; the element turns counter-clockwise.
    const int zintAngle = (3600 - turn) / 10;
    const SymbolImage* symbol = CachedSymbol(context, element, true, zintAngle);
    const DeviceBox box = ComputeRotatedBox(context, element, turn).box;
    const QString text = RecordText(ContentBytes(element));

    const TextFont font = CaptionFont(context, element, text, turn);
    element.lfFont.lfEscapement = turn;
    const QSize extent = MeasureText(font, text);
    const int caption = element.bShowText != 0 ? extent.height() : 0;

    const QRect bars(box.left, box.top, box.width, ClampCoordinate(std::int64_t{box.height} - caption));
    if (HasImage(symbol)) {
        DrawFitted(context, element, bars, turn == 900 ? FitMode::MirrorColumns : FitMode::Stretch);
    } else if (!context.bPrinting) {
        DrawUnencodable(context.painter, QRect(box.left, box.top, box.width, box.height), text);
    }

    QRect grips(box.left, box.top, box.width, box.height);
    if (element.bShowText != 0) {
        const int cx = extent.width();
        QPoint origin;
        switch (turn) {
            case 900:  // upward, right of the bars
                origin = QPoint(box.left + box.width, box.top + box.height - (box.height - cx) / 2);
                grips = QRect(box.left, box.top, box.width + caption + 1, box.height);
                break;
            case 1800:  // leftward, above the box
                origin = QPoint(box.left + cx + (box.width - cx) / 2, box.top);
                grips = QRect(box.left, box.top - caption, box.width, box.height);
                break;
            default:  // 2700: downward, left of the box
                origin = QPoint(box.left, box.top + (box.height - cx) / 2);
                grips = QRect(box.left + 5 - caption, box.top, box.width + caption - 5, box.height);
                break;
        }
        DrawTextAt(context.painter, font, origin, text);
    }
    if (WantsGrips(context, element)) {
        DrawGrips(context.painter, element, grips.x(), grips.y(), grips.width(), grips.height(), 4,
                  GripMiddle::Half);
    }
}

void DrawUnencodable(QPainter& painter, const QRect& box, const QString& content) {
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.fillRect(box, QBrush(QColor(200, 200, 200), Qt::BDiagPattern));
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    QFont font;
    font.setPixelSize(std::clamp(box.height() / 4, 8, 14));
    painter.setFont(font);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(box.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWrapAnywhere, content);
    painter.restore();
}

}  // namespace etiqo
