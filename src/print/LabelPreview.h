#pragma once
// The picture of the preview dialog: the label rendered as it prints (1 bit per dot at the
// label's resolution) and fitted into the widget with the canvas's aspect. Every paint renders
// anew, so serial numbers step with each paint, exactly as they would on paper.

#include <QMarginsF>
#include <QWidget>

#include <functional>

#include "check/LabelChecker.h"
#include "model/Label.h"
#include "print/LabelPage.h"

namespace etiqo {

class LabelPreview : public QWidget {
    Q_OBJECT

public:
    LabelPreview(Label& label, LabelPainter painter, QSize viewSize, QWidget* parent = nullptr);

    // Where the label goes in a frame of the given size: the canvas's aspect, 20 pixels spare on
    // the side that limits it, centred, 3 pixels down.
    static QRect PreviewRect(QSize frame, QSize viewSize);

    // Shades the label's edges the printer cannot print, as fractions of the label's width and
    // height (all 0: nothing is shaded).
    void SetUnprintable(QMarginsF fractions);
    QMarginsF Unprintable() const { return m_unprintable; }

    // Called after a paint moved serial numbers.
    void SetSerialsMoved(std::function<void()> notify) { m_serialsMoved = std::move(notify); }
    // Told, after each paint, how the scan check of the page just drawn came out (one line a
    // failing element, or that every code reads right; empty without codes). Failing codes are
    // outlined in red on the picture.
    void SetCheckShown(std::function<void(const QString& summary)> notify) {
        m_checkShown = std::move(notify);
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Label& m_label;
    LabelPainter m_painter;
    QSize m_viewSize;
    std::function<void()> m_serialsMoved;
    std::function<void(const QString&)> m_checkShown;
    LabelChecker m_checker;
    QMarginsF m_unprintable;
};

}  // namespace etiqo
