#pragma once
// Rendering labels headless and reading them back the way a user's scanner would.

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <string>

#include "RunProcess.h"
#include "model/TextCodec.h"
#include "print/DrawLabel.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo::test {

// A white output page of trunc(Wd) × trunc(Hd) dots with the label drawn by DrawLabel.
inline QImage RenderPage(Label& label, SymbolCache& symbols,
                         const std::function<void(const std::string&)>& warn = {}) {
    QImage page(static_cast<int>(LabelDots(label.m_nDpiX, label.m_nLabelWidthMM)),
                static_cast<int>(LabelDots(label.m_nDpiY, label.m_nLabelHeightMM)), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawLabel(painter, label, symbols, {1, 1}, warn);
    return page;
}

// A white image of width × height with one element drawn: on screen at scale, or for output
// with line ends divided by scale.
inline QImage RenderElement(Element& element, SymbolCache& symbols, int width, int height, bool printing,
                            DisplayScale scale = {1.0, 1.0},
                            const std::function<void(const std::string&)>& warn = {}) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawElement({painter, symbols, printing ? DisplayScale{1, 1} : scale, printing, scale, warn}, element);
    return image;
}

enum class Reader { Zbar, ZXing };

// What the reader decodes from the image (every symbol found, one per line, trailing newline
// removed); empty when it reads nothing.
inline std::string Decode(const QImage& image, Reader reader) {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("symbol.png")).toStdString();
    if (!image.save(QString::fromStdString(file))) {
        return "<cannot save>";
    }
    // ZXingReader 1.4 aborts when it finds a linear code again in a downscaled copy.
    std::string out = reader == Reader::Zbar
                          ? testing::RunProcess("zbarimg", {"-q", "--raw", file}).out
                          : testing::RunProcess("ZXingReader", {"-bytes", "-noscale", file}).out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

// Black pixels (luminance below half) at a point and in a rectangle.
inline bool IsBlack(const QImage& image, int x, int y) {
    return image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
}
inline int CountBlack(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += IsBlack(image, x, y) ? 1 : 0;
        }
    }
    return count;
}

// The bounding box of every black pixel; empty when there is none.
inline QRect BlackBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsBlack(image, x, y)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// A label of the size at the resolution, with no snapshot folder of its own in the user's temp folder.
inline Label MakeLabel(int widthMM, int heightMM, int dpi) {
    Label label;
    label.m_nLabelWidthMM = widthMM;
    label.m_nLabelHeightMM = heightMM;
    label.m_nDpiX = label.m_nDpiY = dpi;
    return label;
}

// The string as GB18030 bytes in a content field.
inline void SetContentUtf8(Element& element, const std::string& utf8) {
    SetContent(element, utf8, Overflow::Cut);
}

}  // namespace etiqo::test
