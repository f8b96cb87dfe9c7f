// CLabelCanvas: the right button, its context menus and their commands.
#include <QAction>
#include <QCursor>
#include <QMenu>

#include <algorithm>

#include "canvas/ElementDialogs.h"
#include "canvas/LabelCanvas.h"
#include "canvas/Selection.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

void CLabelCanvas::OnRButtonDown(QPoint point) {
    const std::vector<ContextHit> hits =
        SelectForContextMenu(m_label.m_elements, Scale(), {point.x(), point.y()});
    update();
    for (const ContextHit& hit : hits) {
        // A command of an earlier menu may have removed this element or moved it in the list.
        const auto& list = m_label.m_elements;
        const auto found = std::find_if(list.begin(), list.end(),
                                        [&](const ElementPtr& e) { return e.get() == hit.element; });
        if (found == list.end()) {
            continue;
        }
        m_nCurElement = static_cast<int>(found - list.begin());
        const ElementKind kind = hit.element->nKind;
        if (kind == ElementKind::Text || kind == ElementKind::Picture) {
            ShowContextMenu(kind);
        }
    }
    // Then a menu of its own (Fit to Dots) for each barcode whose drawn box holds the point.
    for (std::size_t i = 0; i < m_label.m_elements.size(); ++i) {
        const Element* e = m_label.m_elements[i].get();
        if (e && e->nKind == ElementKind::Barcode && e->bSelected == 1) {
            m_nCurElement = static_cast<int>(i);
            ShowBarcodeMenu();
        }
    }
}

void CLabelCanvas::ShowContextMenu(ElementKind kind) {
    const bool text = kind == ElementKind::Text;
    QMenu menu(this);
    menu.setTitle(UiText(text ? TextId::TextMenuTitle : TextId::PictureMenuTitle));
    // Both menus' delete items remove the whole selection.
    QAction* remove = menu.addAction(UiText(text ? TextId::TextMenuDelete : TextId::PictureMenuDelete));
    QAction* edit = menu.addAction(UiText(text ? TextId::TextMenuAttributes : TextId::PictureMenuChangeSize));
    QAction* chosen = m_menuRunner ? m_menuRunner(menu) : menu.exec(QCursor::pos());
    if (chosen == remove) {
        DeleteSelection();
    } else if (chosen == edit) {
        text ? EditTextAttributes() : ChangePictureSize();
    }
}

void CLabelCanvas::EditTextAttributes() {
    Element* e = CurrentElement();
    if (e == nullptr || m_pDialogs == nullptr) {
        return;
    }
    m_pDialogs->EditFont(this, e->lfFont);
    update();  // after OK and Cancel alike
}

void CLabelCanvas::ChangePictureSize() {
    Element* e = CurrentElement();
    if (e == nullptr || e->nKind != ElementKind::Picture || m_pDialogs == nullptr) {
        return;
    }
    if (m_pDialogs->EditPictureSize(this, *e, m_label.m_nDpiX, m_label.m_nDpiY)) {
        update();
    }
}

}  // namespace etiqo
