#pragma once
// CLabelCanvas: the widget that shows the label and is edited with the mouse and the keys.
// It holds the label (elements, size, resolution, undo counters, buffers) and the state that
// belongs to the window: its on-screen size, the current tool, the context element, the press
// point and the cache of encoded symbols. Elements are drawn only by DrawElement.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "canvas/Arrange.h"
#include "canvas/EditTypes.h"
#include "model/Geometry.h"
#include "model/Label.h"
#include "render/SymbolCache.h"

class QMenu;
class QAction;

namespace etiqo {

class ElementDialogs;

// Where the rulers must draw: the canvas's offset in its view, the label and the canvas size.
struct RulerPlacement {
    int left = 0;
    int top = 0;
    int labelWidthMM = 0;
    int labelHeightMM = 0;
    int viewWidth = 0;
    int viewHeight = 0;
    int rulerStep = 0;
};

class CLabelCanvas : public QWidget {
    Q_OBJECT

public:
    explicit CLabelCanvas(QWidget* parent = nullptr);
    CLabelCanvas(SnapshotStore snapshots, QWidget* parent);
    ~CLabelCanvas() override;

    // Makes the canvas a child of `parent` (the view) for a label of the given size in mm,
    // lays it out, shows it and reads the printer settings file.
    void Create(QWidget* parent, int widthMM, int heightMM);
    // Deletes every element and lays the canvas out for the new size.
    void SetLabelSize(int widthMM, int heightMM);
    // Chooses the on-screen size for the frame's client area and centres the canvas in its view.
    void Layout(int widthMM, int heightMM);
    // Grows (or shrinks) the on-screen width by delta pixels, keeping the aspect.
    void Zoom(int delta);

    void DeselectAll();
    // Toggled on every selected element.
    void ToggleTextStyle(TextStyle style);
    // The palette's font choice for every selected element; records an undo snapshot.
    void SetSelectionFont(const QString& faceName, int height);

    void PositionElement(PositionMode mode);
    void AlignElement(AlignMode mode);
    void RotateSelection(int delta);
    // Arrow keys, Backspace and Delete (Qt key codes); false for any other key.
    bool OnKeyDown(int key);

    // Removes every selected element; one undo snapshot when something went.
    void DeleteSelection();
    // The context commands on m_nCurElement (nothing when it no longer names an element).
    void EditTextAttributes();
    void ChangePictureSize();
    // Fit to Dots on the context barcode: the width at which every module is whole dots; one undo
    // snapshot when it changed.
    void FitCurrentToDots();

    // The scan check's failing codes, outlined in red with their reasons as the canvas's tooltip
    // until the next edit. Nothing of it is stored in the label. Areas are in dots.
    struct CheckMark {
        QRect area;
        QString reason;
    };
    void SetCheckMarks(std::vector<CheckMark> marks);

    void SaveSnapshot();
    void StepUndo(int direction);
    void CutSelection();
    void CopySelection(CopyMark mark);
    void PasteBuffers();

    void SetTool(int tool);
    // The keyboard's way to make an element (a tool key, the Insert menu): the element of the
    // tool appears selected at the centre of the visible part of the label, one undo snapshot.
    // Selection (0) only sets the tool.
    void InsertElement(int tool);
    // The middle of the part of the label the view shows, in display pixels.
    QPoint VisibleCentre() const;
    DisplayScale Scale() const;
    RulerPlacement Placement() const;

    // The property dialogs a double click or a context command opens (not owned).
    void SetDialogs(ElementDialogs* dialogs) { m_pDialogs = dialogs; }

    // Seams for tests and for embedding: how a picture file is chosen (empty: cancelled), how a
    // problem is told to the user, and how a context menu is run (returns the chosen action).
    using PictureFileChooser = std::function<QString(QWidget* parent)>;
    using MessageSink = std::function<void(const QString& message)>;
    using MenuRunner = std::function<QAction*(QMenu& menu)>;
    void SetPictureFileChooser(PictureFileChooser chooser) { m_chooser = std::move(chooser); }
    void SetMessageSink(MessageSink sink) { m_message = std::move(sink); }
    void SetMenuRunner(MenuRunner runner) { m_menuRunner = std::move(runner); }

    // Contents as a data record fills them, on screen only (the label keeps its references): fill
    // rewrites the drawn copy of an element and says whether it changed anything. Empty: as typed.
    void SetContentFill(std::function<bool(Element& shown)> fill) {
        m_contentFill = std::move(fill);
        update();
    }

    Label& GetLabel() { return m_label; }
    const Label& GetLabel() const { return m_label; }
    SymbolCache& Symbols() { return m_symbols; }

    // Element creators: the point is in display pixels; the new element is the only selected one.
    void CreateTextElement(const QString& text, QPoint point);
    void CreateBarcodeElement(const QString& text, QPoint point);
    void Create2DElement(const QString& text, QPoint point);
    void CreatePictureElement(QPoint point);
    void CreateLineElement(QPoint point);
    void CreateShapeElement(QPoint point);

    // The label, its window-side state.
    Label m_label;
    std::function<bool(Element& shown)> m_contentFill;
    int m_nViewWidth = 0;
    int m_nViewHeight = 0;
    int m_nTool = kToolSelect;
    int m_nCurElement = 0;
    QPoint m_MouseDownPoint;
    int m_nRulerStep = 10;

signals:
    // The rulers follow the canvas: after every layout, zoom and move within the view.
    void placementChanged(const etiqo::RulerPlacement& placement);
    // After a zoom: the view shows its scroll bars when the canvas outgrows it.
    void zoomed(QSize canvasSize);
    // An undo snapshot was recorded or stepped to (the frame enables Undo, asks before closing).
    void undoStateChanged();
    // Something could not be drawn (an unencodable content, a missing picture).
    void renderWarning(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void OnLButtonDown(QPoint point, bool extend);
    void OnLButtonUp(QPoint point);
    void OnLButtonDblClk(QPoint point);
    void OnRButtonDown(QPoint point);
    void OnMouseMove(QPoint point, bool leftDown);
    void ShowContextMenu(ElementKind kind);
    void ShowBarcodeMenu();
    void DrawCheckMarks(QImage& target);

    void Append(const Element& element);
    void DrawElements(QImage& target);
    void ApplyCursor(std::optional<EditCursor> cursor);
    void ApplyToolCursor();
    void DropOrphanedSymbols();
    void Tell(const QString& message);
    QSize FrameClientSize() const;
    Element* CurrentElement();

    SymbolCache m_symbols;
    ElementDialogs* m_pDialogs = nullptr;
    QImage m_buffer;  // the off-screen picture, copied to the window in one step
    std::optional<EditCursor> m_shownCursor;
    // The selection band while a press on empty canvas is dragged, and what was selected before it.
    std::optional<QRect> m_band;
    std::vector<char> m_bandBase;
    PictureFileChooser m_chooser;
    MessageSink m_message;
    MenuRunner m_menuRunner;
    std::vector<CheckMark> m_checkMarks;
};

}  // namespace etiqo
