#include "canvas/LabelCanvas.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "canvas/Arrange.h"
#include "canvas/CanvasCursors.h"
#include "canvas/Keys.h"
#include "canvas/ToolKeys.h"
#include "model/TextCodec.h"
#include "render/ElementRenderer.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {
namespace {

// Layout measures against the frame's client area less this margin.
constexpr int kFrameMargin = 50;

// Draws an element whose box was dragged past its opposite edge: a copy with the box counted
// from the other edge is drawn, and what drawing derives is kept, except the box itself. The
// grip numbers follow the flip, so each grip still sits on the edge it moves.
void DrawFlipped(const RenderContext& context, Element& e) {
    const bool flipX = e.nWidth < 0;
    const bool flipY = e.nHeight < 0;
    Element shown = e;
    if (flipX) {
        shown.nPosX = SaturatedInt(std::int64_t{e.nPosX} + e.nWidth);
        shown.nWidth = SaturatedInt(-std::int64_t{e.nWidth});
    }
    if (flipY) {
        shown.nPosY = SaturatedInt(std::int64_t{e.nPosY} + e.nHeight);
        shown.nHeight = SaturatedInt(-std::int64_t{e.nHeight});
    }
    DrawElement(context, shown);
    const Element stored = e;
    e = shown;
    e.nPosX = stored.nPosX;
    e.nPosY = stored.nPosY;
    e.nWidth = stored.nWidth;
    e.nHeight = stored.nHeight;
    e.nOrgPosX = stored.nOrgPosX;
    e.nOrgPosY = stored.nOrgPosY;
    e.nOrgWidth = stored.nOrgWidth;
    e.nOrgHeight = stored.nOrgHeight;
    if (flipX) {
        std::swap(e.ptGrip[0], e.ptGrip[2]);
        std::swap(e.ptGrip[3], e.ptGrip[4]);
        std::swap(e.ptGrip[5], e.ptGrip[7]);
    }
    if (flipY) {
        std::swap(e.ptGrip[0], e.ptGrip[5]);
        std::swap(e.ptGrip[1], e.ptGrip[6]);
        std::swap(e.ptGrip[2], e.ptGrip[7]);
    }
}

}  // namespace

CLabelCanvas::CLabelCanvas(QWidget* parent) : CLabelCanvas(SnapshotStore::ForCurrentUser(), parent) {}

CLabelCanvas::CLabelCanvas(SnapshotStore snapshots, QWidget* parent)
    : QWidget(parent), m_label(std::move(snapshots)) {
    // The whole client area is painted from the off-screen picture: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);  // Tab reaches it: the tools have keys
    m_message = [this](const QString& message) {
        QMessageBox::warning(this, UiText(TextId::AppTitle), message);
    };
}

CLabelCanvas::~CLabelCanvas() = default;

void CLabelCanvas::Create(QWidget* parent, int widthMM, int heightMM) {
    setParent(parent);
    setGeometry(0, 0, 500, 800);
    Layout(widthMM, heightMM);
    show();
    m_label.m_PrintSettings = LoadPrintSettings(PrintSettingsPath());
}

void CLabelCanvas::SetLabelSize(int widthMM, int heightMM) {
    m_label.SetLabelSize(widthMM, heightMM);
    DropOrphanedSymbols();
    Layout(widthMM, heightMM);
}

QSize CLabelCanvas::FrameClientSize() const {
    const QWidget* frame = window();
    if (frame != this) {
        // A frame's client area has no menu bar: the menu lies outside it.
        QSize client = frame->size();
        const auto* mainWindow = qobject_cast<const QMainWindow*>(frame);
        // Before the frame is first shown its menu bar has no height yet: its hint is the height it
        // will take, so the first layout equals every later one.
        if (const QWidget* menu = mainWindow ? mainWindow->menuWidget() : nullptr;
            menu && menu->isVisibleTo(frame)) {
            client.rheight() -= menu->isVisible() ? menu->height() : menu->sizeHint().height();
        }
        return client;
    }
    // A canvas without a frame (a test, an embedding) measures against the screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableSize() : QSize(1050, 650);
}

void CLabelCanvas::Layout(int widthMM, int heightMM) {
    m_label.m_nLabelWidthMM = widthMM;
    m_label.m_nLabelHeightMM = heightMM;
    const QSize client = FrameClientSize();
    const PixelSize chosen =
        ChooseCanvasSize(LabelDots(m_label.m_nDpiX, widthMM), LabelDots(m_label.m_nDpiY, heightMM),
                         client.width() - kFrameMargin, client.height() - kFrameMargin, widthMM);
    // A frame too small for any label still gets a canvas of one pixel, so no scale becomes 0.
    m_nViewWidth = std::max(1, chosen.width);
    m_nViewHeight = std::max(1, chosen.height);
    QPoint at(0, 0);
    if (const QWidget* view = parentWidget()) {
        at = {std::max(0, (view->width() - m_nViewWidth) / 2),
              std::max(0, (view->height() - m_nViewHeight) / 2)};
    }
    setGeometry(QRect(at, QSize(m_nViewWidth, m_nViewHeight)));
    emit placementChanged(Placement());
    update();
}

void CLabelCanvas::Zoom(int delta) {
    const PixelSize before{m_nViewWidth, m_nViewHeight};
    const PixelSize after = ZoomedSize(before, delta);
    if (after == before) {
        return;  // the lower bound: the label never shrinks to nothing
    }
    m_nViewWidth = after.width;
    m_nViewHeight = after.height;
    // Grow about the centre; a label no taller than the view is centred vertically.
    QPoint at = pos() - QPoint((after.width - before.width) / 2, (after.height - before.height) / 2);
    if (const QWidget* view = parentWidget(); view != nullptr && after.height <= view->height()) {
        at.setY((view->height() - after.height) / 2);
    }
    setGeometry(QRect(at, QSize(after.width, after.height)));
    update();
    emit placementChanged(Placement());
    emit zoomed(size());
}

DisplayScale CLabelCanvas::Scale() const {
    if (m_nViewWidth <= 0 || m_nViewHeight <= 0) {
        return {1.0, 1.0};  // not laid out yet
    }
    return ComputeDisplayScale(m_nViewWidth, m_nViewHeight, m_label.m_nDpiX, m_label.m_nDpiY,
                               m_label.m_nLabelWidthMM, m_label.m_nLabelHeightMM);
}

RulerPlacement CLabelCanvas::Placement() const {
    return {x(),           y(),         m_label.m_nLabelWidthMM, m_label.m_nLabelHeightMM, m_nViewWidth,
            m_nViewHeight, m_nRulerStep};
}

void CLabelCanvas::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    emit placementChanged(Placement());
}

void CLabelCanvas::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_buffer.size() != pixels) {
        m_buffer = QImage(pixels, QImage::Format_RGB32);
    }
    m_buffer.setDevicePixelRatio(ratio);
    m_buffer.fill(Qt::white);
    DrawElements(m_buffer);
    DrawCheckMarks(m_buffer);
    QPainter painter(this);
    painter.drawImage(0, 0, m_buffer);
    if (m_band) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_band->normalized());
    }
}

void CLabelCanvas::DrawElements(QImage& target) {
    QPainter painter(&target);
    const DisplayScale scale = Scale();
    QString lastWarning;
    const RenderContext context{
        painter, m_symbols,
        scale,   false,
        scale,   [&](const std::string& message) {
                                    lastWarning = QString::fromStdString(message); }};
    for (const ElementPtr& element : m_label.m_elements) {
        Element shown = *element;
        if (m_contentFill && element->nWidth >= 0 && element->nHeight >= 0 && m_contentFill(shown)) {
            // The record's value is drawn with a symbol of its own; what drawing derives (grips,
            // a measured size) is kept, the content and its symbol stay the label's.
            shown.hImage = 0;
            DrawElement(context, shown);
            m_symbols.Release(shown);
            std::memcpy(shown.str, element->str, sizeof shown.str);
            shown.hImage = element->hImage;
            *element = shown;
        } else if (element->nWidth >= 0 && element->nHeight >= 0) {
            DrawElement(context, *element);
        } else {
            DrawFlipped(context, *element);
        }
    }
    if (!lastWarning.isEmpty()) {
        emit renderWarning(lastWarning);
    }
}

void CLabelCanvas::DeselectAll() {
    for (const ElementPtr& e : m_label.m_elements) {
        e->bSelected = 0;
    }
    update();
}

void CLabelCanvas::ToggleTextStyle(TextStyle style) {
    for (const ElementPtr& e : m_label.m_elements) {
        if (!e->bSelected) {
            continue;
        }
        LOGFONTA& font = e->lfFont;
        switch (style) {
            case TextStyle::Bold:
                font.lfWeight = font.lfWeight < 900 ? 900 : 400;
                break;
            case TextStyle::Italic:
                font.lfItalic = font.lfItalic ? 0 : 1;
                break;
            case TextStyle::Underline:
                font.lfUnderline = font.lfUnderline ? 0 : 1;
                break;
        }
    }
    update();
}

void CLabelCanvas::SetSelectionFont(const QString& faceName, int height) {
    const std::string face = faceName.toStdString();
    for (const ElementPtr& e : m_label.m_elements) {
        if (e->bSelected) {
            SetFaceName(e->lfFont, face, Overflow::Cut);
            e->lfFont.lfWidth = 0;
            e->lfFont.lfHeight = height;
        }
    }
    update();
    SaveSnapshot();
}

void CLabelCanvas::PositionElement(PositionMode mode) {
    ::etiqo::PositionElement(m_label.m_elements, mode,
                             LabelDotsWhole(m_label.m_nDpiX, m_label.m_nLabelWidthMM),
                             LabelDotsWhole(m_label.m_nDpiY, m_label.m_nLabelHeightMM));
    update();
}

void CLabelCanvas::AlignElement(AlignMode mode) {
    if (::etiqo::AlignElement(m_label.m_elements, mode)) {
        update();
    }
}

void CLabelCanvas::RotateSelection(int delta) {
    const bool any = ::etiqo::RotateSelection(m_label.m_elements, delta,
                                              [this](std::uint32_t handle) { m_symbols.Release(handle); });
    update();
    if (any) {
        SaveSnapshot();
    }
}

bool CLabelCanvas::OnKeyDown(int key) {
    EditKey editKey{};
    switch (key) {
        case Qt::Key_Up:
            editKey = EditKey::Up;
            break;
        case Qt::Key_Down:
            editKey = EditKey::Down;
            break;
        case Qt::Key_Left:
            editKey = EditKey::Left;
            break;
        case Qt::Key_Right:
            editKey = EditKey::Right;
            break;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            editKey = EditKey::Delete;
            break;
        default:
            return false;
    }
    const KeyOutcome out = HandleEditKey(m_label.m_elements, editKey);
    if (out.deleteFrom) {
        m_nCurElement = static_cast<int>(*out.deleteFrom);
        DeleteSelection();
    }
    if (out.repaint) {
        update();
    }
    return true;
}

void CLabelCanvas::keyPressEvent(QKeyEvent* event) {
    if (OnKeyDown(event->key())) {
        return;
    }
    // A tool's single key, with no modifier (Ctrl+B and the like stay shortcuts).
    const int tool = ToolForKey(event->key());
    if (tool >= 0 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        InsertElement(tool);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CLabelCanvas::DeleteSelection() {
    if (m_label.DeleteSelection()) {
        emit undoStateChanged();
    }
    DropOrphanedSymbols();
    update();
}

void CLabelCanvas::SaveSnapshot() {
    m_label.SaveSnapshot();
    emit undoStateChanged();
}

void CLabelCanvas::StepUndo(int direction) {
    m_label.StepUndo(direction);
    DropOrphanedSymbols();  // restored records start without a cached symbol
    update();
    emit undoStateChanged();
}

void CLabelCanvas::CutSelection() {
    m_label.CutSelection();
    update();
    emit undoStateChanged();
}

void CLabelCanvas::CopySelection(CopyMark mark) {
    m_label.CopySelection(mark);
    DropOrphanedSymbols();  // the cut buffer's records are gone
}

void CLabelCanvas::PasteBuffers() {
    if (m_label.PasteBuffers()) {
        update();
    }
}

void CLabelCanvas::DropOrphanedSymbols() {
    std::vector<std::uint32_t> live;
    for (const ElementList* list : {&m_label.m_elements, &m_label.m_cutBuffer, &m_label.m_copyBuffer}) {
        for (const ElementPtr& e : *list) {
            if (e->hImage != 0) {
                live.push_back(e->hImage);
            }
        }
    }
    m_symbols.DropUnreferenced(live);
}

void CLabelCanvas::SetTool(int tool) {
    m_nTool = tool;
    ApplyToolCursor();
}

void CLabelCanvas::ApplyToolCursor() {
    ApplyCursor(ToolCursor(m_nTool));
}

void CLabelCanvas::ApplyCursor(std::optional<EditCursor> cursor) {
    if (!cursor || cursor == m_shownCursor) {
        return;
    }
    m_shownCursor = cursor;
    setCursor(CursorFor(*cursor));
}

void CLabelCanvas::Tell(const QString& message) {
    if (m_message) {
        m_message(message);
    }
}

Element* CLabelCanvas::CurrentElement() {
    if (m_nCurElement < 0 || static_cast<std::size_t>(m_nCurElement) >= m_label.m_elements.size()) {
        return nullptr;
    }
    return m_label.m_elements[static_cast<std::size_t>(m_nCurElement)].get();
}

}  // namespace etiqo
