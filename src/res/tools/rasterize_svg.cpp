// Build-time tool: turns the SVG pictograms into the PNG images the program embeds.
//
//   rasterize_svg strip OUT.png CELL_W CELL_H a.svg b.svg ...   cells side by side, one per SVG
//   rasterize_svg image OUT.png SIZE a.svg                      one square image
//
// Every SVG is drawn 1:1 into its cell (its viewBox is the cell), so strokes placed on half pixels in the
// sources stay one pixel wide and sharp. The result keeps its alpha channel.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "rasterize_svg: %s\n", qPrintable(message));
    return 1;
}

bool DrawSvg(QPainter& painter, const QString& path, const QRectF& cell, QString* error) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    svg.render(&painter, cell);
    return true;
}

bool SavePng(const QImage& image, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

int Strip(const QStringList& args) {
    if (args.size() < 5) {
        return Fail(QStringLiteral("strip needs OUT.png CELL_W CELL_H and at least one SVG"));
    }
    const int cellWidth = args[2].toInt();
    const int cellHeight = args[3].toInt();
    if (cellWidth <= 0 || cellHeight <= 0) {
        return Fail(QStringLiteral("bad cell size %1 x %2").arg(args[2], args[3]));
    }
    const QStringList sources = args.mid(4);
    QImage image(cellWidth * static_cast<int>(sources.size()), cellHeight,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QString error;
    for (int i = 0; i < sources.size(); ++i) {
        if (!DrawSvg(painter, sources[i], QRectF(i * cellWidth, 0, cellWidth, cellHeight), &error)) {
            return Fail(error);
        }
    }
    painter.end();
    return SavePng(image.convertToFormat(QImage::Format_ARGB32), args[1], &error) ? 0 : Fail(error);
}

int Image(const QStringList& args) {
    if (args.size() != 4) {
        return Fail(QStringLiteral("image needs OUT.png SIZE and one SVG"));
    }
    const int size = args[2].toInt();
    if (size <= 0) {
        return Fail(QStringLiteral("bad size %1").arg(args[2]));
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QString error;
    if (!DrawSvg(painter, args[3], QRectF(0, 0, size, size), &error)) {
        return Fail(error);
    }
    painter.end();
    return SavePng(image.convertToFormat(QImage::Format_ARGB32), args[1], &error) ? 0 : Fail(error);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("strip")) {
        return Strip(args);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("image")) {
        return Image(args);
    }
    return Fail(
        QStringLiteral("usage: rasterize_svg strip OUT.png CELL_W CELL_H SVG... | image OUT.png SIZE SVG"));
}
