#pragma once
// A device in front of an output file that notices every short or failed write.

#include <QByteArray>
#include <QIODevice>

namespace etiqo {

// Qt's file device reports a short write (a full disk, a file-size limit) as success and its
// image and PDF writers do not look at the count. This one gathers the bytes in blocks, writes each
// to the unbuffered target until all of it is written or a write fails with its reason, and
// remembers a failure. Open the target unbuffered: a buffered file device would report the short
// write of its final flush as success.
class CheckedWrites : public QIODevice {
public:
    explicit CheckedWrites(QIODevice& target) : m_target(target) { open(QIODevice::WriteOnly); }
    // Writes what is gathered; false when any write failed.
    bool Finish() { return Drain() && !m_failed; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        m_pending.append(data, size);
        return m_pending.size() < kBlock || Drain() ? size : -1;
    }

private:
    static constexpr qint64 kBlock = 256 * 1024;

    bool Drain() {
        for (qint64 done = 0; done < m_pending.size() && !m_failed;) {
            const qint64 n = m_target.write(m_pending.constData() + done, m_pending.size() - done);
            m_failed = n <= 0;
            done += n > 0 ? n : 0;
        }
        m_pending.clear();
        return !m_failed;
    }

    QIODevice& m_target;
    QByteArray m_pending;
    bool m_failed = false;
};

}  // namespace etiqo
