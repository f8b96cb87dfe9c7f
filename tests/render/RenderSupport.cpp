#include "RenderSupport.h"

#include <QPainter>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstring>

#include "model/TextCodec.h"
#include "print/DrawLabel.h"
#include "render/ElementRenderer.h"

namespace etiqo::test {

QImage RenderPage(Label& label, SymbolCache& symbols, DisplayScale lineEndScale) {
    const int width = static_cast<int>(LabelDots(label.m_nDpiX, label.m_nLabelWidthMM));
    const int height = static_cast<int>(LabelDots(label.m_nDpiY, label.m_nLabelHeightMM));
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawLabel(painter, label, symbols, lineEndScale);
    return page;
}

QImage RenderElement(Element& element, SymbolCache& symbols, int width, int height, bool printing,
                     DisplayScale scale) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderContext context{painter, symbols, printing ? DisplayScale{1, 1} : scale, printing, scale, {}};
    DrawElement(context, element);
    return image;
}

std::string Decode(const QImage& image, Reader reader) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("symbol.png"));
    if (!image.save(file)) {
        return "<cannot save>";
    }
    QProcess process;
    if (reader == Reader::Zbar) {
        process.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), file});
    } else {
        // ZXingReader 1.4 aborts when it finds a linear code again in a downscaled copy.
        process.start(QStringLiteral("ZXingReader"),
                      {QStringLiteral("-bytes"), QStringLiteral("-noscale"), file});
    }
    process.waitForFinished(60000);
    std::string out = process.readAllStandardOutput().toStdString();
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

bool IsBlack(const QImage& image, int x, int y) {
    return image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
}

int CountBlack(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += IsBlack(image, x, y) ? 1 : 0;
        }
    }
    return count;
}

QRect BlackBounds(const QImage& image) {
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

Label MakeLabel(int widthMM, int heightMM, int dpi) {
    Label label;
    label.m_nLabelWidthMM = widthMM;
    label.m_nLabelHeightMM = heightMM;
    label.m_nDpiX = label.m_nDpiY = dpi;
    return label;
}

void SetContentUtf8(Element& element, const std::string& utf8) {
    SetContent(element, utf8, Overflow::Cut);
}

}  // namespace etiqo::test
