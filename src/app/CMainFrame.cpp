#include "app/CMainFrame.h"
#include "app/DataMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>

#include <algorithm>
#include <array>

#include "app/AboutBox.h"
#include "app/CanvasPainter.h"
#include "app/CheckLabelCommand.h"
#include "app/CommandIds.h"
#include "app/FrameLayout.h"
#include "app/LabelFileDialogs.h"
#include "app/MainMenus.h"
#include "canvas/Arrange.h"
#include "canvas/ElementDialogs.h"
#include "canvas/ToolKeys.h"
#include "model/LabelFile.h"
#include "print/BatchProgress.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/PrintLabel.h"
#include "res/Resources.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {
namespace {

// Command-bar placement and alignment buttons, in button order (140 to 145, 146 to 155).
constexpr std::array kPositionModes = {
    PositionMode::Top,   PositionMode::Left,           PositionMode::Bottom,
    PositionMode::Right, PositionMode::VerticalCenter, PositionMode::HorizontalCenter};
constexpr std::array kAlignModes = {
    AlignMode::Left,           AlignMode::Top,          AlignMode::Right,
    AlignMode::Bottom,         AlignMode::MoveToFront,  AlignMode::MoveToBack,
    AlignMode::BringForward,   AlignMode::SendBackward, AlignMode::SpaceHorizontally,
    AlignMode::SpaceVertically};
// The palette's style buttons (111 to 113).
constexpr std::array kTextStyles = {TextStyle::Bold, TextStyle::Italic, TextStyle::Underline};

bool IsCanvasKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return true;
        default:
            return false;
    }
}

// The label's own state (size, resolution, printer, file name, elements) across a batch run, which
// loads other labels onto the canvas. Undo state is not touched by the run.
class LabelKeeper {
public:
    explicit LabelKeeper(const Label& label)
        : m_nWidthMM(label.m_nLabelWidthMM),
          m_nHeightMM(label.m_nLabelHeightMM),
          m_nDpiX(label.m_nDpiX),
          m_nDpiY(label.m_nDpiY),
          m_strPrinter(label.m_strPrinterName),
          m_strFileName(label.m_strFileName) {
        for (const ElementPtr& e : label.m_elements) {
            m_elements.push_back(*e);
        }
    }
    void Restore(Label& label) const {
        label.SetLabelSize(m_nWidthMM, m_nHeightMM);
        label.m_nDpiX = m_nDpiX;
        label.m_nDpiY = m_nDpiY;
        label.m_strPrinterName = m_strPrinter;
        label.m_strFileName = m_strFileName;
        for (Element e : m_elements) {
            e.hImage = 0;  // the symbol is encoded again
            label.Append(e);
        }
    }

private:
    int m_nWidthMM;
    int m_nHeightMM;
    int m_nDpiX;
    int m_nDpiY;
    std::string m_strPrinter;
    std::string m_strFileName;
    std::vector<Element> m_elements;
};

// The client area resizes the frame's children, as the frame's own size handler would.
class FrameClient : public QWidget {
public:
    FrameClient(CMainFrame* frame) : m_pFrame(frame) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        m_pFrame->OnSize(width(), height());
    }

private:
    CMainFrame* m_pFrame;
};

}  // namespace

CMainFrame::CMainFrame(ElementDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent),
      m_pClient(new FrameClient(this)),
      m_wndView(m_pClient),
      m_wndPalette(m_pClient),
      m_wndRuler(m_pClient),
      m_wndStatusBar(m_pClient),
      m_wndCommandBar(m_pClient),
      m_pDialogs(dialogs) {
    setCentralWidget(m_pClient);
    setWindowTitle(UiText(TextId::AppTitle));
    setWindowIcon(ProgramIcon());

    m_actions =
        BuildMainMenus(*menuBar(), IsChineseInterface(), [this](int nCommand) { OnCommand(nCommand); });
    for (QAction* title : menuBar()->actions()) {
        connect(title->menu(), &QMenu::aboutToShow, this, &CMainFrame::UpdateMenuState);
    }
    if (QAction* recent = MenuAction(cmd::kRecentFiles)) {
        connect(recent->menu(), &QMenu::aboutToShow, this, &CMainFrame::FillRecentFilesMenu);
    }
    for (const Accelerator& accelerator : AcceleratorTable()) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.key), this);
        const int nCommand = accelerator.nCommand;
        // A disabled menu item's key does nothing either.
        connect(shortcut, &QShortcut::activated, this, [this, nCommand] {
            if (IsCommandEnabled(nCommand)) {
                OnCommand(nCommand);
            }
        });
    }

    new CDataMenu(*this);  // owned by the frame

    m_wndStatusBar.setSizeGripEnabled(false);
    m_wndStatusBar.showMessage(UiText(TextId::AppReady));
    m_pLabelInfo = new QLabel(&m_wndStatusBar);
    m_wndStatusBar.addPermanentWidget(m_pLabelInfo);

    // Buttons may open dialogs: their commands run after the mouse handler has returned.
    connect(&m_wndPalette, &CButtonBar::commandPosted, this, &CMainFrame::OnCommand, Qt::QueuedConnection);
    connect(&m_wndCommandBar, &CButtonBar::commandPosted, this, &CMainFrame::OnCommand, Qt::QueuedConnection);
    connect(&m_wndPalette, &CToolPalette::fontChosen, this,
            [this](const QString& face, int nSize) { m_wndCanvas.SetSelectionFont(face, nSize); });

    connect(&m_wndCanvas, &CLabelCanvas::placementChanged, this, [this](const RulerPlacement& p) {
        m_wndRuler.m_nRulerStep = p.rulerStep;
        m_wndRuler.SetLabelMetrics(p.labelWidthMM, p.labelHeightMM, p.viewWidth, p.viewHeight);
        m_wndRuler.SetCanvasPos(p.left, p.top);
        UpdateStatus();
    });
    connect(&m_wndView, &CTagoraView::canvasMoved, this,
            [this](QPoint topLeft) { m_wndRuler.SetCanvasPos(topLeft.x(), topLeft.y()); });
    connect(&m_wndCanvas, &CLabelCanvas::undoStateChanged, this, &CMainFrame::UpdateStatus);
    connect(&m_wndCanvas, &CLabelCanvas::renderWarning, this, [this](const QString& message) {
        if (message != m_lastRenderWarning) {
            m_lastRenderWarning = message;
            m_wndStatusBar.showMessage(message, 10000);
        }
    });
    // Told once, after the edit that found it: the label is safe, but undo is not there.
    connect(&m_wndCanvas, &CLabelCanvas::undoStateChanged, this, [this] {
        if (m_wndCanvas.GetLabel().TakeSnapshotFailure()) {
            const QString reason = QString::fromStdString(m_wndCanvas.GetLabel().Snapshots().LastError());
            QMetaObject::invokeMethod(
                this, [this, reason] { Tell(UiText(TextId::SnapshotsUnavailable).arg(reason)); },
                Qt::QueuedConnection);
        }
    });
    connect(&m_wndView, &CTagoraView::zoomRequested, this,
            [this](int nDirection) { OnCommand(nDirection > 0 ? cmd::kBarZoomIn : cmd::kBarZoomOut); });

    // The window starts at 1000 × 700 in the middle of the screen; start-up shows it maximized.
    resize(1000, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    m_wndCanvas.SetDialogs(dialogs);
    m_wndCanvas.Create(&m_wndView, 50, 80);
    m_wndView.SetCanvas(&m_wndCanvas);

    // The palette's tools have single keys on the canvas, which starts with the focus.
    for (const ToolKey& key : kToolKeys) {
        m_wndPalette.SetShortcutKey(cmd::kPaletteFirst + key.tool, KeyNameForTool(key.tool));
    }
    m_wndCanvas.setFocus();

    // Arrow keys, Backspace and Delete reach the canvas wherever the focus is in this window.
    qApp->installEventFilter(this);
    UpdateStatus();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::OnSize(int cx, int cy) {
    if (cx <= 0) {
        return;
    }
    const FrameLayout layout = ComputeFrameLayout(cx, cy);
    m_wndRuler.ResizeRuler(cx, cy);
    m_wndCommandBar.setGeometry(layout.commandBar);
    m_wndPalette.setGeometry(layout.palette);
    m_wndView.setGeometry(layout.view);
    // The status bar is part of the client area, over the view's last rows.
    m_wndStatusBar.setGeometry(0, cy - kStatusBarHeight, cx, kStatusBarHeight);
    m_wndStatusBar.raise();
}

QAction* CMainFrame::MenuAction(int nCommand) const {
    const auto it = m_actions.find(nCommand);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::IsCommandEnabled(int nCommand) const {
    const Label& label = m_wndCanvas.GetLabel();
    switch (nCommand) {
        case cmd::kUndo:
            return label.m_nUndoCount > 0;
        case cmd::kCut:
        case cmd::kCopy:
            return label.HasSelection();
        case cmd::kPaste:
            return !label.m_copyBuffer.empty() || !label.m_cutBuffer.empty();
        case cmd::kDirectSend:
            return false;  // no direct printer language yet
        case cmd::kNewLabel:
        case cmd::kSelectLabelFiles:
            return m_pDialogs != nullptr;
        default:
            return true;
    }
}

void CMainFrame::UpdateMenuState() {
    for (const auto& [nCommand, action] : m_actions) {
        action->setEnabled(IsCommandEnabled(nCommand));
    }
}

// One row per command number, or per run of numbers whose handler takes the offset into the run.
// The first row that holds the number acts; numbers in no row (139 Input File, 156…) do nothing.
struct CMainFrame::CommandRow {
    using Handler = void (*)(CMainFrame& frame, int offset);
    constexpr CommandRow(int nCommand, Handler handler) : first(nCommand), last(nCommand), run(handler) {}
    constexpr CommandRow(int nFirst, int nLast, Handler handler) : first(nFirst), last(nLast), run(handler) {}
    int first;
    int last;
    Handler run;
};

std::span<const CMainFrame::CommandRow> CMainFrame::CommandTable() {
    static constexpr auto openLabel = [](CMainFrame& f, int) { f.OpenLabel(); };
    static constexpr auto save = [](CMainFrame& f, int) {
        const Label& label = f.m_wndCanvas.GetLabel();
        if (label.m_strFileName.empty()) {
            f.SaveLabel(QString());
        } else {
            f.SaveLabelTo(label.m_strFileName);  // the bytes it was opened by
        }
    };
    static constexpr auto undo = [](CMainFrame& f, int) { f.m_wndCanvas.StepUndo(-1); };
    static constexpr auto deleteSelection = [](CMainFrame& f, int) { f.m_wndCanvas.DeleteSelection(); };
    static constexpr CommandRow kRows[] = {
        // File menu and the command bar's file buttons.
        {cmd::kNewLabel, [](CMainFrame& f, int) { f.NewLabel(true); }},
        {cmd::kBarNew, [](CMainFrame& f, int) { f.NewLabel(false); }},
        {cmd::kOpenLabel, openLabel},
        {cmd::kFrameworkOpen, openLabel},  // Ctrl+O: users expect it to open a label
        {cmd::kBarOpen, openLabel},
        {cmd::kSave, save},
        {cmd::kSaveEnglish, save},
        {cmd::kBarSave, save},
        {cmd::kSaveAs, [](CMainFrame& f, int) { f.SaveLabel(QString()); }},
        {cmd::kRecentFileFirst, cmd::kRecentFileLast,
         [](CMainFrame& f, int index) {
             if (const QStringList& files = f.m_recentFiles.Entries(); index < files.size()) {
                 f.OpenLabelFile(files[index]);
             }
         }},
        {cmd::kPrint, [](CMainFrame& f, int) { f.Print(f.m_wndCanvas.GetLabel().m_strPrinterName); }},
        {cmd::kBarPrint, [](CMainFrame& f, int) { f.Print(std::string()); }},
        {cmd::kBarPreview, [](CMainFrame& f, int) { f.PrintPreview(); }},
        {cmd::kCheckLabel, [](CMainFrame& f, int) { RunCheckLabel(f.m_wndCanvas, f.m_wndStatusBar); }},
        {cmd::kSelectLabelFiles, [](CMainFrame& f, int) { f.BatchPrint(); }},
        {cmd::kAbout, [](CMainFrame& f, int) { ShowAboutBox(&f); }},
        {cmd::kExit, [](CMainFrame& f, int) { f.close(); }},
        // Editing.
        {cmd::kUndo, undo},
        {cmd::kPaletteUndo, undo},
        {cmd::kPaletteRedo, [](CMainFrame& f, int) { f.m_wndCanvas.StepUndo(+1); }},
        {cmd::kPaletteDelete, deleteSelection},
        {cmd::kCanvasDelete, deleteSelection},
        {cmd::kCut, [](CMainFrame& f, int) { f.m_wndCanvas.CutSelection(); }},
        {cmd::kCopy, [](CMainFrame& f, int) { f.m_wndCanvas.CopySelection(CopyMark::Keep); }},
        {cmd::kPaste, [](CMainFrame& f, int) { f.m_wndCanvas.PasteBuffers(); }},
        {cmd::kInsertText, cmd::kInsertLast,
         [](CMainFrame& f, int index) {
             f.m_wndCanvas.InsertElement(kToolText + index);
             f.m_wndCanvas.setFocus();  // its tool keys and arrows act on the new element next
         }},
        // The palette: the style buttons toggle and become the tool; every other button is a tool.
        {cmd::kPaletteBold, cmd::kPaletteUnderline,
         [](CMainFrame& f, int index) {
             f.m_wndCanvas.ToggleTextStyle(kTextStyles[static_cast<std::size_t>(index)]);
             f.m_wndCanvas.SetTool(cmd::kPaletteBold - cmd::kPaletteFirst + index);
         }},
        {cmd::kPaletteFirst, cmd::kPaletteLast, [](CMainFrame& f, int tool) { f.m_wndCanvas.SetTool(tool); }},
        // The command bar's turning, zoom, placement and alignment buttons.
        {cmd::kBarRotateLeft, [](CMainFrame& f, int) { f.m_wndCanvas.RotateSelection(+900); }},
        {cmd::kBarRotateRight, [](CMainFrame& f, int) { f.m_wndCanvas.RotateSelection(-900); }},
        {cmd::kBarZoomIn, [](CMainFrame& f, int) { f.m_wndCanvas.Zoom(+30); }},
        {cmd::kBarZoomOut,
         [](CMainFrame& f, int) {
             f.m_wndCanvas.Zoom(-30);
             f.m_wndView.update();
         }},
        {cmd::kBarPositionFirst, cmd::kBarPositionLast,
         [](CMainFrame& f, int index) {
             f.m_wndCanvas.PositionElement(kPositionModes[static_cast<std::size_t>(index)]);
         }},
        {cmd::kBarAlignFirst, cmd::kBarLast,
         [](CMainFrame& f, int index) {
             f.m_wndCanvas.AlignElement(kAlignModes[static_cast<std::size_t>(index)]);
         }},
    };
    return kRows;
}

void CMainFrame::OnCommand(int nCommand) {
    const std::span<const CommandRow> rows = CommandTable();
    const auto row = std::find_if(rows.begin(), rows.end(), [nCommand](const CommandRow& r) {
        return r.first <= nCommand && nCommand <= r.last;
    });
    if (row != rows.end()) {
        row->run(*this, nCommand - row->first);
    }
    UpdateStatus();
}

void CMainFrame::NewLabel(bool bForgetFile) {
    if (m_pDialogs == nullptr) {
        return;
    }
    const std::optional<PixelSize> size = m_pDialogs->AskNewLabelSize(this);
    if (!size) {
        return;
    }
    m_wndCanvas.SetLabelSize(size->width, size->height);
    if (bForgetFile) {
        m_wndCanvas.GetLabel().m_strFileName.clear();
        m_wndCanvas.GetLabel().m_strPrinterName.clear();
    }
}

bool CMainFrame::SaveLabel(const QString& path) {
    if (m_wndCanvas.GetLabel().m_elements.empty()) {
        return true;  // nothing to write counts as saved
    }
    const QString target = path.isEmpty() ? AskSaveLabelPath(&m_wndView, m_recentFiles.LastFolder()) : path;
    if (target.isEmpty()) {
        return false;
    }
    return SaveLabelTo(QFile::encodeName(target).toStdString());
}

bool CMainFrame::SaveLabelTo(const std::filesystem::path& file) {
    Label& label = m_wndCanvas.GetLabel();
    const LabelFileStatus status = SaveLabelFile(label, file);
    if (!status) {
        // Losing work silently is worse than a message: say which file and why.
        Tell(UiText(TextId::SaveLabelFailed) + QStringLiteral("\n\n") + QString::fromStdString(status.error));
        return false;
    }
    label.m_bModified = false;
    if (auto* data = findChild<CDataMenu*>()) {
        data->Saved(file.string());
    }
    const QString shown = QFile::decodeName(QByteArray::fromStdString(file.string()));
    m_recentFiles.Add(shown);
    m_wndStatusBar.showMessage(shown, 5000);
    return true;
}

void CMainFrame::OpenLabel() {
    const QString path = AskOpenLabelPath(&m_wndView, m_recentFiles.LastFolder());
    if (path.isEmpty()) {
        m_wndCanvas.GetLabel().WriteBaseSnapshot();  // as after every open attempt
        return;
    }
    OpenLabelFile(path);
}

bool CMainFrame::OpenLabelFile(const QString& path) {
    return OpenLabelFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

bool CMainFrame::OpenLabelFile(const std::filesystem::path& file) {
    Label& label = m_wndCanvas.GetLabel();
    const LabelFileStatus status = etiqo::OpenLabelFile(label, file);
    if (!status) {
        Tell(UiText(TextId::OpenLabelFailed) + QStringLiteral("\n\n") + QString::fromStdString(status.error));
        return false;
    }
    m_wndCanvas.Layout(label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    m_wndCanvas.update();
    m_recentFiles.Add(QFile::decodeName(QByteArray::fromStdString(file.string())));
    UpdateStatus();
    return true;
}

void CMainFrame::Print(const std::string& printer) {
    if (auto* data = findChild<CDataMenu*>(); data && data->PrintRecords(printer, 1)) {
        UpdateStatus();
        return;
    }
    CLabelCanvas& canvas = m_wndCanvas;
    const PrintResult result = PrintLabel(this, canvas.GetLabel(), CanvasPainter(canvas), printer, 1);
    if (result.serialsMoved) {
        canvas.update();
    }
    TellPrintResult(result);
    UpdateStatus();
}

void CMainFrame::PrintPreview() {
    CLabelCanvas& canvas = m_wndCanvas;
    CupsPrinterConfig printers;
    CPrintPreviewDlg::Canvas hooks{
        canvas.GetLabel(),
        [this](QPainter& p, Label& label) { return findChild<CDataMenu*>()->DrawShown(p, label); },
        QSize(canvas.m_nViewWidth, canvas.m_nViewHeight),
        [this](const std::string& printer, int copies) {
            if (findChild<CDataMenu*>()->PrintRecords(printer, copies)) {
                return;
            }
            const PrintResult result =
                PrintLabel(this, m_wndCanvas.GetLabel(), CanvasPainter(m_wndCanvas), printer, copies);
            TellPrintResult(result);
        },
        [&canvas] { canvas.update(); },
    };
    CPrintPreviewDlg dialog(std::move(hooks), printers, nullptr);
    dialog.exec();
}

void CMainFrame::BatchPrint() {
    if (m_pDialogs == nullptr) {
        return;
    }
    Label& label = m_wndCanvas.GetLabel();
    for (const std::string& file : m_pDialogs->ChooseBatchFiles(this)) {
        label.m_arrBatchFiles.push_back(file);
    }
    if (label.m_arrBatchFiles.empty()) {
        return;
    }
    // Every queued label is printed in turn (each loaded onto the canvas first), not only loaded.
    // Afterwards the user finds the label they had open, so a Save cannot write a batch label
    // over its file.
    CLabelCanvas& canvas = m_wndCanvas;
    const LabelKeeper kept(label);
    PrintBatch(
        this, label, label.m_arrBatchFiles, CanvasPainter(canvas),
        [&canvas](Label& l, const std::string& file) {
            std::optional<std::string> error = LoadQueuedLabel(l, file);
            if (!error) {
                canvas.Layout(l.m_nLabelWidthMM, l.m_nLabelHeightMM);
            }
            return error;
        },
        [data = findChild<CDataMenu*>()](Label& l, const std::string& file, const std::string& printer) {
            return data->PrintQueued(l, file, printer);
        });
    kept.Restore(label);
    canvas.Layout(label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    canvas.update();
    UpdateStatus();
}

void CMainFrame::FillRecentFilesMenu() {
    QMenu* menu = MenuAction(cmd::kRecentFiles)->menu();
    menu->clear();
    const QStringList& files = m_recentFiles.Entries();
    for (int i = 0; i < files.size(); ++i) {
        const int nCommand = cmd::kRecentFileFirst + i;
        QAction* item =
            menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
        connect(item, &QAction::triggered, this, [this, nCommand] { OnCommand(nCommand); });
    }
    if (files.isEmpty()) {
        menu->addAction(UiText(TextId::MenuRecentNone))->setEnabled(false);
    }
}

bool CMainFrame::RestoreWindowState() {
    QSettings settings;
    settings.beginGroup(QStringLiteral("Window"));
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    return !geometry.isEmpty() && restoreGeometry(geometry);
}

void CMainFrame::SaveWindowState() const {
    QSettings settings;
    settings.beginGroup(QStringLiteral("Window"));
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());  // size, place and maximized state
}

void CMainFrame::TellPrintResult(const PrintResult& result) {
    if (result || result.status == PrintResult::Status::Cancelled) {
        return;
    }
    // A copy count below 1 (an empty copies box) prints nothing: say so rather than show an empty box.
    Tell(result.status == PrintResult::Status::NothingToPrint ? UiText(TextId::PrintNoCopies)
                                                              : QString::fromStdString(result.error));
}

void CMainFrame::Tell(const QString& message) {
    QMessageBox::warning(this, UiText(TextId::MessageCaption), message);
}

void CMainFrame::UpdateStatus() {
    const Label& label = m_wndCanvas.GetLabel();
    QString info = UiText(TextId::AppStatusLabelSize, label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    const QString file = QString::fromStdString(label.m_strFileName);
    info += QStringLiteral("   ") + (file.isEmpty()
                                         ? UiText(TextId::AppStatusNewLabel)
                                         : UiText(TextId::AppStatusFile).arg(QFileInfo(file).fileName()));
    m_pLabelInfo->setText(info);
    UpdateMenuState();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_wndCanvas.GetLabel().HasUnsavedChanges()) {
        const auto answer = QMessageBox::question(nullptr, UiText(TextId::CloseQuestionCaption),
                                                  UiText(TextId::CloseQuestion),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        // Yes always shows the save dialog, even for a label that has a file.
        if (answer == QMessageBox::Yes && !SaveLabel(QString())) {
            event->ignore();
            return;
        }
    }
    SaveWindowState();
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Only the first receiver (the focus widget) counts: a key ignored there travels up the parents
    // and passes here again. Keys aimed at dialogs and pop-ups stay theirs.
    QWidget* receiver = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (widget == nullptr || widget != receiver || widget->window() != this || !IsCanvasKey(key->key())) {
        return QMainWindow::eventFilter(watched, event);
    }
    m_wndCanvas.OnKeyDown(key->key());
    // Then the key goes on as usual, except to the canvas, whose own handler would act on it twice.
    return widget == &m_wndCanvas;
}

}  // namespace etiqo
