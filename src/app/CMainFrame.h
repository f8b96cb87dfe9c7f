#pragma once

#include <filesystem>
// The program's one top-level window: it owns the canvas, the tool palette, the command bar, the rulers
// and the status bar, lays them out, and turns every menu item, accelerator, button and special key
// into a call on the canvas or a dialog. Closing it asks whether to save.

#include <QMainWindow>
#include <QStatusBar>

#include <map>
#include <span>

#include "app/CTagoraView.h"
#include "app/RecentFiles.h"
#include "canvas/LabelCanvas.h"
#include "chrome/CCommandBar.h"
#include "chrome/CRulerWnd.h"
#include "chrome/CToolPalette.h"
#include "print/LabelPrintJob.h"

class QLabel;

namespace etiqo {

class ElementDialogs;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // dialogs: the property dialogs (new label size, batch files); not owned, may be null.
    explicit CMainFrame(ElementDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // One command number of a menu item, accelerator, palette or command-bar button.
    void OnCommand(int nCommand);
    // Whether a menu item or accelerator of that number acts now.
    bool IsCommandEnabled(int nCommand) const;

    // Writes the label; an empty path asks for one. False when cancelled, refused or not written.
    bool SaveLabel(const QString& path);
    // Writes the label to a file named by its bytes, which need not be UTF-8.
    bool SaveLabelTo(const std::filesystem::path& file);
    // Asks for a label file and opens it.
    void OpenLabel();
    // Opens a label file onto the canvas; a file that is not a label is named in a message and
    // the label stays as it was.
    bool OpenLabelFile(const QString& path);
    bool OpenLabelFile(const std::filesystem::path& file);

    // Places the children for a client area of cx × cy (below the menu bar).
    void OnSize(int cx, int cy);
    QAction* MenuAction(int nCommand) const;
    // Brings the menu items' enabled state up to date.
    void UpdateMenuState();
    // The window's size, place and state as the last run left them; false when none is stored.
    bool RestoreWindowState();
    void SaveWindowState() const;
    const RecentFiles& Recent() const { return m_recentFiles; }

    QWidget* m_pClient;
    CTagoraView m_wndView;
    CToolPalette m_wndPalette;
    CLabelCanvas m_wndCanvas;
    CRulerWnd m_wndRuler;
    QStatusBar m_wndStatusBar;
    CCommandBar m_wndCommandBar;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CommandRow;

    // The drawing warning last shown (a picture that cannot be read, a content its code cannot
    // hold): every paint repeats it, the status bar says it once.
    QString m_lastRenderWarning;
    // What each command number does, in the order OnCommand looks it up.
    static std::span<const CommandRow> CommandTable();

    void NewLabel(bool bForgetFile);
    void Print(const std::string& printer);
    void PrintPreview();
    void BatchPrint();
    void UpdateStatus();
    void FillRecentFilesMenu();
    void Tell(const QString& message);
    void TellPrintResult(const PrintResult& result);

    ElementDialogs* m_pDialogs;
    RecentFiles m_recentFiles;
    std::map<int, QAction*> m_actions;
    QLabel* m_pLabelInfo = nullptr;
};

}  // namespace etiqo
