#pragma once
// CCITT Group 4 (T.6) coding of a 1-bit page, which PDF readers decode natively. Label pages are
// blank paper, bars and a code's module rows repeated down the page: G4 codes a row like the one
// above in a bit per change, where deflate spent a quarter of a data run's time. (libtiff's coder,
// the platform's only one, reaches it through a whole TIFF file per page and took as long.)

#include <QByteArray>

namespace etiqo {

// rows: height rows of `stride` bytes, the first dot in the low bit, 1 is black. Empty when the
// page could not be coded.
QByteArray EncodeFaxG4(const uchar* rows, int width, int height, qsizetype stride);

}  // namespace etiqo
