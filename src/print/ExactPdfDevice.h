#pragma once
// QPdfWriter (Qt 6.4) rounds a custom page size to whole points: a 50 × 80 mm label becomes a
// 142 × 227 pt page. This device sits between the writer and the file and rewrites every page's
// MediaBox to the exact size in the same number of bytes, so the cross-reference offsets stay
// right. The box keeps its top edge, where the writer's content starts.

#include <QByteArray>
#include <QIODevice>
#include <QSizeF>

namespace etiqo {

class ExactPdfDevice : public QIODevice {
public:
    // exactPoints: the page size in PostScript points; target must be open for writing.
    ExactPdfDevice(QIODevice& target, QSizeF exactPoints);
    ~ExactPdfDevice() override;

    bool isSequential() const override { return true; }
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Flush(qsizetype count);
    void RewriteBox(qsizetype start, qsizetype end);

    QIODevice& m_target;
    QSizeF m_points;
    QByteArray m_pending;
    bool m_failed = false;
};

// The page size in points of a label of widthMM × heightMM.
QSizeF LabelSizeInPoints(double widthMM, double heightMM);

}  // namespace etiqo
