#pragma once
// Reads back what a ZPL label printer would print: the ~DG graphics of a job (hex rows with ZPL's
// run-length letters) become images, with each page's print width and quantity, so tests can
// look at and decode the dots that were sent.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace etiqo::test {

struct ZplPage {
    QImage graphic;      // 1 bit per dot, black where the printer burns
    int printWidth = 0;  // ^PW
    int quantity = 1;    // ^PQ
};

// Every page of a job in order; an empty list when the data holds no graphic.
std::vector<ZplPage> DecodeZplJob(const QByteArray& zpl);

}  // namespace etiqo::test
