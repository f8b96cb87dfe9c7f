// zpl2png JOB.zpl OUT_PREFIX: the graphics of a ZPL job as PNG files, one per page.
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "ZplGraphic.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: zpl2png JOB.zpl OUT_PREFIX\n", stderr);
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "zpl2png: cannot read %s\n", argv[1]);
        return 1;
    }
    const auto pages = etiqo::test::DecodeZplJob(file.readAll());
    int n = 0;
    for (const auto& page : pages) {
        const QString out = QFile::decodeName(argv[2]) + QStringLiteral("-%1.png").arg(++n);
        if (page.graphic.isNull() || !page.graphic.save(out)) {
            std::fprintf(stderr, "zpl2png: page %d could not be decoded or written\n", n);
            return 1;
        }
        std::printf("%s %dx%d PW%d PQ%d\n", qPrintable(out), page.graphic.width(), page.graphic.height(),
                    page.printWidth, page.quantity);
    }
    return pages.empty() ? 1 : 0;
}
