// driver2png LANGUAGE JOB OUT_PREFIX: the pages of a label printer job as PNG files, one per page
// (LANGUAGE: zpl, epl2, epl1, cpcl, dymo, pcl, ql).
#include <QFile>

#include <cstdio>

#include "DriverOutput.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: driver2png zpl|epl2|epl1|cpcl|dymo|pcl|ql JOB OUT_PREFIX\n", stderr);
        return 2;
    }
    const auto language = etiqo::test::PrinterLanguageNamed(argv[1]);
    QFile file(QFile::decodeName(argv[2]));
    if (!language || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "driver2png: unknown language %s or cannot read %s\n", argv[1], argv[2]);
        return 1;
    }
    const auto pages = etiqo::test::DecodePrinterJob(*language, file.readAll());
    if (!pages) {
        std::fputs("driver2png: not a well-formed job\n", stderr);
        return 1;
    }
    int n = 0;
    for (const auto& page : *pages) {
        const QString out = QFile::decodeName(argv[3]) + QStringLiteral("-%1.png").arg(++n);
        if (!page.dots.save(out)) {
            std::fprintf(stderr, "driver2png: cannot write %s\n", qPrintable(out));
            return 1;
        }
        std::printf("%s %dx%d stated %dx%d copies %d\n", qPrintable(out), page.dots.width(),
                    page.dots.height(), page.width, page.height, page.copies);
    }
    return pages->empty() ? 1 : 0;
}
