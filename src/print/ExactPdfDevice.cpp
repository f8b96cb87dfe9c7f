#include "print/ExactPdfDevice.h"

#include <QList>

namespace etiqo {

namespace {

constexpr char kBoxKey[] = "/MediaBox [";
constexpr qsizetype kBoxKeyLength = sizeof kBoxKey - 1;
constexpr qsizetype kMaxBoxLength = 96;  // "[0 0 w h]" as the writer prints it, with room to spare

}  // namespace

QSizeF LabelSizeInPoints(double widthMM, double heightMM) {
    return QSizeF(widthMM * 72.0 / 25.4, heightMM * 72.0 / 25.4);
}

ExactPdfDevice::ExactPdfDevice(QIODevice& target, QSizeF exactPoints)
    : m_target(target), m_points(exactPoints) {
    QIODevice::open(QIODevice::WriteOnly);
}

ExactPdfDevice::~ExactPdfDevice() {
    ExactPdfDevice::close();
}

void ExactPdfDevice::close() {
    if (isOpen()) {
        Flush(m_pending.size());
        QIODevice::close();
    }
}

qint64 ExactPdfDevice::readData(char*, qint64) {
    return -1;
}

qint64 ExactPdfDevice::writeData(const char* data, qint64 size) {
    if (m_failed) {
        return -1;
    }
    m_pending.append(data, static_cast<qsizetype>(size));
    qsizetype from = 0;
    while (true) {
        const qsizetype start = m_pending.indexOf(kBoxKey, from);
        if (start < 0) {
            // Keep what could be the beginning of a key split across writes.
            Flush(std::max<qsizetype>(0, m_pending.size() - (kBoxKeyLength - 1)));
            break;
        }
        const qsizetype end = m_pending.indexOf(']', start);
        if (end < 0) {
            if (m_pending.size() - start > kMaxBoxLength) {
                from = start + 1;  // not a box the writer made; leave it be
                continue;
            }
            Flush(start);  // wait for the rest of the box
            break;
        }
        RewriteBox(start + kBoxKeyLength, end);
        from = end;
    }
    return m_failed ? -1 : size;
}

void ExactPdfDevice::RewriteBox(qsizetype start, qsizetype end) {
    // "0 0 w h" as the writer printed it; h is the top edge its content is placed against.
    const QList<QByteArray> values = m_pending.mid(start, end - start).simplified().split(' ');
    if (values.size() != 4 || values[0] != "0" || values[1] != "0") {
        return;
    }
    bool ok = false;
    const double top = values[3].toDouble(&ok);
    if (!ok) {
        return;
    }
    QByteArray exact = "0 " + QByteArray::number(top - m_points.height(), 'f', 4) + ' ' +
                       QByteArray::number(m_points.width(), 'f', 4) + ' ' + QByteArray::number(top, 'g', 12);
    const qsizetype length = end - start;
    if (exact.size() > length) {
        return;
    }
    exact.append(QByteArray(length - exact.size(), ' '));
    m_pending.replace(start, length, exact);
}

bool ExactPdfDevice::Flush(qsizetype count) {
    if (count <= 0) {
        return !m_failed;
    }
    if (m_target.write(m_pending.constData(), count) != count) {
        m_failed = true;
    }
    m_pending.remove(0, count);
    return !m_failed;
}

}  // namespace etiqo
