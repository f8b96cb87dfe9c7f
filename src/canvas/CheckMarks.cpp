// CLabelCanvas: what the scan check adds to the canvas: Fit to Dots on a barcode's context menu
// and the red outlines of codes that would not scan.
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPainter>

#include "canvas/LabelCanvas.h"
#include "render/SymbolGeometry.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

void CLabelCanvas::ShowBarcodeMenu() {
    QMenu menu(this);
    menu.setTitle(UiText(TextId::CheckBarcodeMenuTitle));
    QAction* fit = menu.addAction(UiText(TextId::CheckFitToDots));
    const Element* e = CurrentElement();
    fit->setEnabled(e != nullptr && WholeDotWidth(*e).has_value());
    QAction* chosen = m_menuRunner ? m_menuRunner(menu) : menu.exec(QCursor::pos());
    if (chosen == fit) {
        FitCurrentToDots();
    }
}

void CLabelCanvas::FitCurrentToDots() {
    Element* e = CurrentElement();
    if (e == nullptr || e->nKind != ElementKind::Barcode) {
        return;
    }
    const std::optional<int> width = WholeDotWidth(*e);
    if (!width || *width == e->nWidth) {
        return;
    }
    // Only the stored width changes; the cached bars are stretched to it like after any resize.
    e->nWidth = *width;
    e->nOrgWidth = *width;
    update();
    SaveSnapshot();
}

void CLabelCanvas::SetCheckMarks(std::vector<CheckMark> marks) {
    if (m_checkMarks.empty() && !marks.empty()) {
        // Any edit (each records a snapshot) or undo makes the marks out of date.
        connect(
            this, &CLabelCanvas::undoStateChanged, this, [this] { SetCheckMarks({}); },
            Qt::SingleShotConnection);
    }
    m_checkMarks = std::move(marks);
    QStringList reasons;
    for (const CheckMark& mark : m_checkMarks) {
        reasons << mark.reason;
    }
    setToolTip(reasons.join(QLatin1Char('\n')));
    update();
}

void CLabelCanvas::DrawCheckMarks(QImage& target) {
    if (m_checkMarks.empty()) {
        return;
    }
    QPainter painter(&target);
    const DisplayScale scale = Scale();
    painter.setPen(QPen(Qt::red, 2));
    painter.setBrush(Qt::NoBrush);
    for (const CheckMark& mark : m_checkMarks) {
        painter.drawRect(QRectF(mark.area.x() * scale.x, mark.area.y() * scale.y, mark.area.width() * scale.x,
                                mark.area.height() * scale.y)
                             .adjusted(-2, -2, 2, 2));
    }
}

}  // namespace etiqo
