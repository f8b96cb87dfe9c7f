#include "render/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>

#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

QString Problem(TextId id, const QString& path) {
    return UiText(id).arg(path);
}

// The whole file, or null with the reason. Opened without blocking (a FIFO with no writer must
// not hang the paint) and read only when it is a regular file of acceptable size.
QByteArray ReadRegularFile(const QString& path, QString& problem) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = Problem(TextId::RenderPictureUndecodable, path);
        return {};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        problem = Problem(TextId::RenderPictureUndecodable, path);
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = Problem(TextId::RenderPictureNotFile, path);
        return {};
    }
    if (st.st_size > kMaxPictureFileBytes) {
        problem = Problem(TextId::RenderPictureOverLimit, path);
        return {};
    }
    QByteArray bytes = file.read(kMaxPictureFileBytes + 1);
    if (bytes.size() > kMaxPictureFileBytes) {  // grew while we read
        problem = Problem(TextId::RenderPictureOverLimit, path);
        return {};
    }
    return bytes;
}

}  // namespace

PictureRead ReadPictureFile(const QString& path) {
    PictureRead result;
    QByteArray bytes = ReadRegularFile(path, result.problem);
    if (!result.problem.isEmpty()) {
        return result;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // In whole megabytes, rounded up: a picture of kMaxPicturePixels at 4 bytes a pixel fits.
    constexpr qint64 kMegabyte = 1024 * 1024;
    reader.setAllocationLimit(static_cast<int>((kMaxPicturePixels * 4 + kMegabyte - 1) / kMegabyte));
    const QSize size = reader.size();
    if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels) {
        result.problem = Problem(TextId::RenderPictureOverLimit, path);
        return result;
    }
    result.image = reader.read();
    if (result.image.isNull()) {
        result.problem = Problem(TextId::RenderPictureUndecodable, path);
    }
    return result;
}

}  // namespace etiqo
