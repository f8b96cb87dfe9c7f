#pragma once
// Reading the picture a label names. A label may come from anywhere, so the path may name a
// FIFO, a device or a huge image: only regular files of bounded size and pixel count are decoded.

#include <QImage>
#include <QString>

namespace etiqo {

// Files larger than this are not read at all.
inline constexpr qint64 kMaxPictureFileBytes = 64 * 1024 * 1024;
// Decoded pictures larger than this many pixels are refused (an 8000-dot square label, the
// largest label at 203 dpi): 256 MB at four bytes a pixel.
inline constexpr qint64 kMaxPicturePixels = 8000LL * 8000;

struct PictureRead {
    QImage image;     // null when the picture was refused or could not be decoded
    QString problem;  // then the warning for the user, naming the file
};

PictureRead ReadPictureFile(const QString& path);

}  // namespace etiqo
