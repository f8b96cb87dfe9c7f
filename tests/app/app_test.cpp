// The designer's shell on the offscreen platform: the real main window with the real dialogs, driven
// with mouse and key events (layout, keys, buttons, tools, files, batches, the close question), the
// view's scrolling, the language choice, the recent-file list and the label file dialogs.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "ModalDriver.h"
#include "app/CMainFrame.h"
#include "app/CTagoraView.h"
#include "app/CanvasScroll.h"
#include "app/CommandIds.h"
#include "app/LabelFileDialogs.h"
#include "app/Language.h"
#include "app/RecentFiles.h"
#include "dialogs/PropertyDialogs.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

using testing::AnswerFileDialog;
using testing::AnswerMessageBox;

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        SetUpApplicationSettings();
        Open();
    }
    void Open() {
        if (frame) {
            Label().m_nUndoCount = 0;
        }
        frame = std::make_unique<CMainFrame>(&dialogs);
        firstCanvasSize = Canvas().size();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        if (frame) {
            Label().m_nUndoCount = 0;  // no question at the end
            Label().m_bModified = false;
        }
        frame.reset();
        SetChineseInterface(false);
    }
    CLabelCanvas& Canvas() { return frame->m_wndCanvas; }
    etiqo::Label& Label() { return Canvas().GetLabel(); }
    Element& At(std::size_t i) { return *Label().m_elements.at(i); }
    // Runs a command as a palette or command-bar button would.
    void Command(int nCommand) {
        frame->OnCommand(nCommand);
        QCoreApplication::processEvents();
    }
    void Click(QPoint p, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(&Canvas(), Qt::LeftButton, keys, p);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(&Canvas(), Qt::LeftButton, keys, from);
        QTest::mouseMove(&Canvas(), (from + to) / 2);
        QTest::mouseMove(&Canvas(), to);
        QTest::mouseRelease(&Canvas(), Qt::LeftButton, keys, to);
    }
    // One selected text element, recorded as an edit.
    Element& AddSelectedText() {
        Canvas().CreateTextElement(QStringLiteral("Shelf 12"), QPoint(40, 40));
        Canvas().SaveSnapshot();
        return *Label().m_elements.back();
    }
    // The element's box centre in display pixels.
    QPoint Centre(const Element& e) {
        const DisplayScale s = Canvas().Scale();
        return {static_cast<int>((e.nPosX + e.nWidth / 2) * s.x),
                static_cast<int>((e.nPosY + e.nHeight / 2) * s.y)};
    }

    QTemporaryDir dir;
    PropertyDialogs dialogs;
    std::unique_ptr<CMainFrame> frame;
    QSize firstCanvasSize;
};

// Check Label outlines a code that would not scan until the next edit; what the drawing cannot show
// is said in the status bar, naming the element's file.
TEST_F(Frame, CheckLabelAndDrawingWarnings) {
    Canvas().CreateBarcodeElement(QStringLiteral("123456789012345678901234567890"), QPoint(20, 20));
    Element& code = At(0);
    code.nWidth = 280;  // 200 modules in 280 dots
    code.nHeight = 100;
    code.nSerialMode = kSerialIncrement;
    code.bSelected = 0;
    frame->OnCommand(32900);  // Check Label
    EXPECT_TRUE(frame->m_wndStatusBar.currentMessage().startsWith(QStringLiteral("Check Label: 1 code(s)")))
        << frame->m_wndStatusBar.currentMessage().toStdString();
    EXPECT_TRUE(Canvas().toolTip().contains(QStringLiteral("does not read")))
        << Canvas().toolTip().toStdString();
    EXPECT_STREQ(code.str, "123456789012345678901234567890");  // checking prints nothing
    const QImage shot = Canvas().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(shot.constBits());
    EXPECT_GT(std::count(pixels, pixels + shot.width() * shot.height(), qRgb(255, 0, 0)), 50);
    Canvas().SaveSnapshot();  // any edit
    EXPECT_TRUE(Canvas().toolTip().isEmpty());

    const std::string missing = (std::filesystem::path(dir.path().toStdString()) / "gone.png").string();
    Label().Append(*MakePictureElement(200, 20, missing, 50, 50));
    Canvas().grab();
    EXPECT_TRUE(frame->m_wndStatusBar.currentMessage().contains(QStringLiteral("gone.png")))
        << frame->m_wndStatusBar.currentMessage().toStdString();
}

// Keys reach the canvas once, wherever the focus is; the menus' states follow the label; tools have
// single keys and an Insert menu that put the element in the middle of the view; both redo keys work.
TEST_F(Frame, KeysAndMenuStatesWorkOnTheCanvas) {
    frame->UpdateMenuState();
    for (const int command : {57643, 57634, 57637, 32794}) {  // Undo, Copy, Paste, Direct Send
        EXPECT_FALSE(frame->MenuAction(command)->isEnabled()) << command;
    }
    EXPECT_TRUE(frame->MenuAction(32773)->isEnabled());  // the English Save works
    ASSERT_TRUE(Canvas().hasFocus());
    QTest::keyClick(&Canvas(), Qt::Key_T);
    ASSERT_EQ(Label().m_elements.size(), 1u);
    Element& text = At(0);
    EXPECT_EQ(text.nKind, ElementKind::Text);
    EXPECT_TRUE(text.bSelected);
    EXPECT_NE(text.nWidth, 0);
    EXPECT_LE((Centre(text) - Canvas().VisibleCentre()).manhattanLength(), 4);
    EXPECT_EQ(frame->m_wndPalette.ButtonToolTip(1), QStringLiteral("Text (T)"));

    const QPoint at(text.nPosX, text.nPosY);
    QComboBox* fonts = frame->m_wndPalette.FontNameList();
    fonts->setFocus();
    ASSERT_TRUE(fonts->hasFocus());
    QTest::keyClick(fonts, Qt::Key_Left);
    QTest::keyClick(fonts, Qt::Key_Down);
    EXPECT_EQ(QPoint(text.nPosX, text.nPosY), at + QPoint(-1, 1));
    Canvas().setFocus();
    QTest::keyClick(&Canvas(), Qt::Key_Right);
    QTest::keyClick(&Canvas(), Qt::Key_Up);
    EXPECT_EQ(QPoint(text.nPosX, text.nPosY), at);

    QTest::keyClick(&Canvas(), Qt::Key_C, Qt::ControlModifier);  // Copy
    EXPECT_EQ(Label().m_copyBuffer.size(), 1u);
    frame->UpdateMenuState();
    for (const int command : {57643, 57635, 57637}) {  // Undo, Cut, Paste
        EXPECT_TRUE(frame->MenuAction(command)->isEnabled()) << command;
    }
    QTest::keyClick(&Canvas(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_TRUE(Label().m_elements.empty());
    QTest::keyClick(&Canvas(), Qt::Key_V, Qt::ControlModifier);  // Paste
    EXPECT_EQ(Label().m_elements.size(), 1u);

    frame->MenuAction(cmd::kInsertBarcode)->trigger();
    ASSERT_EQ(Label().m_elements.size(), 2u);
    EXPECT_EQ(At(1).nKind, ElementKind::Barcode);
    EXPECT_FALSE(At(0).bSelected);
    EXPECT_LE((Centre(At(1)) - Canvas().VisibleCentre()).manhattanLength(), 4);
    for (const auto redo : {QKeyCombination(Qt::CTRL, Qt::Key_Y), Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
        QTest::keyClick(&Canvas(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Label().m_elements.size(), 1u);
        QTest::keyClick(&Canvas(), redo.key(), redo.keyboardModifiers());
        EXPECT_EQ(Label().m_elements.size(), 2u);
    }
}

// Buttons clicked, pressed through the accessibility interface, and the Ctrl wheel reach the canvas;
// the rulers follow it.
TEST_F(Frame, ButtonsAndTheWheelReachTheCanvas) {
    auto click = [](CButtonBar& bar, int button) {
        const QPoint at = bar.PressArea(button).center();
        QTest::mouseMove(&bar, at);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at);
        QApplication::processEvents();  // the commands are queued
    };
    Canvas().Layout(50, 80);
    EXPECT_EQ(Canvas().size(), firstCanvasSize) << "the first layout equals the later ones";
    const int width = Canvas().width();
    click(frame->m_wndCommandBar, 7);  // Zoom In
    EXPECT_EQ(Canvas().width(), width + 30);
    EXPECT_EQ(frame->m_wndRuler.m_nViewWidth, Canvas().width());  // the rulers follow the canvas
    click(frame->m_wndCommandBar, 8);                             // Zoom Out
    EXPECT_EQ(Canvas().width(), width);
    Element& text = AddSelectedText();
    click(frame->m_wndCommandBar, 5);  // Left Hand Rotation
    EXPECT_EQ(text.lfFont.lfEscapement, 900);

    const QPoint at = Canvas().mapTo(&frame->m_wndView, QPoint(5, 5));
    QWheelEvent wheel(at, frame->m_wndView.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&frame->m_wndView, &wheel);
    EXPECT_EQ(Canvas().width(), width + 30);

    QAccessibleInterface* palette = QAccessible::queryAccessibleInterface(&frame->m_wndPalette);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&frame->m_wndCommandBar);
    ASSERT_TRUE(palette && bar);
    EXPECT_EQ(palette->child(5)->text(QAccessible::Name), QStringLiteral("Line"));
    EXPECT_EQ(palette->child(5)->role(), QAccessible::Button);
    EXPECT_EQ(bar->child(25)->text(QAccessible::Name), QStringLiteral("Vertical equal spacing"));
    palette->child(5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(Canvas().m_nTool, 5);
}

// The close question in both languages (Chinese for the Chinese of China): nothing to ask right after the
// start; No closes without saving; Yes asks for a file name (even for a label that has one) and saves, or
// stays open when that is cancelled.
TEST_F(Frame, CloseQuestion) {
    EXPECT_TRUE(frame->close());
    const struct {
        const char* name;
        bool chinese;
        QMessageBox::StandardButton answer;
        QString fileName;  // typed in the file dialog; empty: cancelled
        bool closed;
        QString caption;  // the question's language
    } rows[] = {
        {"Chinese", true, QMessageBox::No, {}, true, "标签编辑"},
        {"yes, then cancel", false, QMessageBox::Yes, {}, false, "Label Editor"},
        {"yes", false, QMessageBox::Yes, "kept", true, "Label Editor"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetChineseInterface(row.chinese);
        Open();
        AddSelectedText();
        Label().m_strFileName = dir.filePath("opened.lab").toStdString();
        const auto seen = AnswerMessageBox(row.answer);
        const auto asked =
            row.answer == QMessageBox::Yes
                ? AnswerFileDialog(row.fileName.isEmpty() ? QString() : dir.filePath(row.fileName))
                : nullptr;
        EXPECT_EQ(frame->close(), row.closed);
        EXPECT_EQ(seen->caption, row.caption);
        EXPECT_TRUE(!asked || *asked);
        EXPECT_EQ(frame->isVisible(), !row.closed);
    }
    for (const auto& [name, chinese] : {std::pair{"zh_CN", true}, {"zh_TW", false}, {"en_US", false}}) {
        EXPECT_EQ(IsChineseLocale(QLocale(QString::fromLatin1(name))), chinese) << name;
    }
    EXPECT_EQ(QFileInfo(dir.filePath("kept.lab")).size(), 84 + 508);
}

// Snapshots that cannot be written (something planted where their folder belongs) are reported
// once, and the label still counts as changed after Delete and Redo.
TEST_F(Frame, FailingSnapshotsAreToldAndTheCloseQuestionStays) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    std::ofstream(dir.filePath("etiqo").toStdString()) << "planted";
    Open();
    qputenv("XDG_RUNTIME_DIR", runtime);

    const auto told = AnswerMessageBox(QMessageBox::Ok);
    AddSelectedText().bSelected = 1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return told->shown; }));
    EXPECT_TRUE(told->text.startsWith(QStringLiteral("Undo snapshots cannot be written")))
        << told->text.toStdString();
    Canvas().DeleteSelection();
    frame->OnCommand(cmd::kPaletteRedo);
    QTest::qWait(20);
    const auto asked = AnswerMessageBox(QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(asked->shown);
}

// Save As, then open again and from the recent-files menu; a file name in Latin-1 (not UTF-8) and one
// of 255 bytes open and save back under their own names; a malformed file is named and the open label
// kept; the window size is kept for the next start.
TEST_F(Frame, FilesOpenAndSaveUnderTheirOwnNames) {
    AddSelectedText();
    AnswerFileDialog(dir.filePath("round"));
    frame->OnCommand(32788);  // Save As
    Canvas().SetLabelSize(30, 20);
    ASSERT_TRUE(frame->OpenLabelFile(dir.filePath("round.lab")));
    EXPECT_EQ(Label().m_elements.size(), 1u);
    EXPECT_EQ(Label().m_nLabelWidthMM, 50);
    Command(cmd::kInsertShape);
    ASSERT_TRUE(frame->SaveLabel(dir.filePath("newer.lab")));
    QMenu* recent = frame->MenuAction(cmd::kRecentFiles)->menu();
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions().at(0)->text().endsWith(QStringLiteral("newer.lab")));
    recent->actions().at(1)->trigger();
    EXPECT_EQ(QString::fromStdString(Label().m_strFileName), dir.filePath("round.lab"));

    const auto folder = std::filesystem::path(QFile::encodeName(dir.path()).toStdString()) / "labels";
    std::filesystem::create_directories(folder);
    for (const std::string& name : {std::string("caf\xE9.lab"), std::string(251, 'n') + ".lab"}) {
        const std::filesystem::path file = folder / name;
        ASSERT_TRUE(SaveLabelFile(Label(), file));
        ASSERT_TRUE(frame->OpenLabelFile(file));
        AddSelectedText();
        frame->OnCommand(cmd::kSave);
        EXPECT_EQ(ReadLabelFile(file).contents->elements.size(), 2u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
        std::filesystem::remove(file);
        Label().m_elements.resize(1);
    }

    const QString bad = dir.filePath("broken.lab");
    std::ofstream(bad.toStdString()) << "not a label at all";
    const auto seen = AnswerMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(frame->OpenLabelFile(bad));
    EXPECT_TRUE(seen->text.contains(QStringLiteral("broken.lab"))) << seen->text.toStdString();
    EXPECT_EQ(Label().m_elements.size(), 1u);

    frame->showNormal();
    frame->resize(900, 600);
    Label().m_nUndoCount = 0;
    frame->close();
    CMainFrame next;
    ASSERT_TRUE(next.RestoreWindowState());
    EXPECT_EQ(next.size(), QSize(900, 600));
}

// A batch of other files prints each in turn and leaves the open label, size and printer as they were.
TEST_F(Frame, BatchLeavesTheOpenLabelAsItWas) {
    const auto write = [&](const char* name, int widthMM, int heightMM) {
        etiqo::Label label;
        label.m_nLabelWidthMM = widthMM;
        label.m_nLabelHeightMM = heightMM;
        label.m_strPrinterName = "no-such-printer";
        label.Append(MakeTextElement(10, 10, name));
        const QString path = dir.filePath(QString::fromLatin1(name) + ".lab");
        EXPECT_TRUE(SaveLabelFile(label, path.toStdString()));
        return path;
    };
    const QString mine = write("mine", 60, 40);
    ASSERT_TRUE(frame->OpenLabelFile(mine));
    Label().m_strPrinterName = "mine";
    Label().m_arrBatchFiles.push_back(write("queued", 30, 20).toStdString());
    testing::OnNextModal<QDialog>([](QDialog* files) { files->reject(); });  // nothing more to queue
    const auto report = AnswerMessageBox(QMessageBox::Ok);                   // the job could not print
    Command(32785);
    EXPECT_TRUE(report->shown);
    EXPECT_EQ(Label().m_strFileName, mine.toStdString());
    EXPECT_EQ(Label().m_nLabelWidthMM, 60);
    ASSERT_EQ(Label().m_elements.size(), 1u);
    EXPECT_STREQ(At(0).str, "mine");
    EXPECT_EQ(Label().m_strPrinterName, "mine");
}

// A placing command, then a whole line moved past its start's old place stays one move; a band
// selects what it touches, is drawn meanwhile, adds with Shift and clears when empty.
TEST_F(Frame, DragsLinesAndBands) {
    Command(106);
    Click(QPoint(200, 300));  // a 100 × 100-dot shape
    Command(140);             // Top
    ASSERT_EQ(At(0).nPosY, 0);

    Command(105);
    Drag(QPoint(50, 200), QPoint(250, 200));
    Element& line = At(1);
    QTest::mouseMove(&Canvas(), QPoint(150, 200));
    QTest::mousePress(&Canvas(), Qt::LeftButton, {}, QPoint(150, 200));
    QTest::mouseMove(&Canvas(), QPoint(52, 200));  // lands on the start's old place
    QTest::mouseMove(&Canvas(), QPoint(40, 200));
    QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, QPoint(40, 200));
    EXPECT_EQ(line.nEndX, 140);  // moved by -110 pixels with its start
    EXPECT_NEAR(line.nPosX, -110 / Canvas().Scale().x + 50 / Canvas().Scale().x, 2);

    Label().m_elements.clear();
    for (const QPoint at : {QPoint(100, 100), QPoint(250, 300)}) {
        Command(106);
        Click(at);
    }
    QTest::mousePress(&Canvas(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(&Canvas(), QPoint(90, 90));
    const QImage shown = Canvas().grab().toImage().convertToFormat(QImage::Format_RGB32);
    QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, QPoint(90, 90));
    const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(20));
    EXPECT_GT(std::count_if(row + 20, row + 91, [](QRgb p) { return p != qRgb(255, 255, 255); }), 10);
    EXPECT_TRUE(At(0).bSelected);
    EXPECT_FALSE(At(1).bSelected);
    Drag(QPoint(380, 600), QPoint(240, 290), Qt::ShiftModifier);
    EXPECT_TRUE(At(0).bSelected);
    EXPECT_TRUE(At(1).bSelected);
    Drag(QPoint(380, 600), QPoint(370, 590));  // an empty band clears the selection
    EXPECT_FALSE(Label().HasSelection());
}

TEST_F(Frame, RecentFilesKeepsFourNewestFirst) {
    {
        RecentFiles recent;
        for (const char* name : {"a.lab", "b.lab", "c.lab", "d.lab", "e.lab", "c.lab"}) {
            recent.Add(dir.filePath(QString::fromLatin1(name)));
        }
    }
    const RecentFiles reread;
    EXPECT_EQ(reread.Entries(), (QStringList{dir.filePath("c.lab"), dir.filePath("e.lab"),
                                             dir.filePath("d.lab"), dir.filePath("b.lab")}));
    EXPECT_EQ(reread.LastFolder(), dir.path());
}

TEST_F(Frame, SaveAndOpenNameTheFileAndSaveAsksBeforeOverwriting) {
    QFile existing(dir.filePath("shelf.lab"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const struct {
        const char* name;
        QString typed;
        std::optional<QMessageBox::StandardButton> answer;  // asked only over an existing file
        QString saved;
    } rows[] = {
        {"extension appended", dir.filePath("other"), std::nullopt, dir.filePath("other.lab")},
        {"typed extension kept", dir.filePath("shelf.bin"), std::nullopt, dir.filePath("shelf.bin")},
        {"cancelled", QString(), std::nullopt, QString()},
        {"overwrite refused", dir.filePath("shelf"), QMessageBox::No, QString()},
        {"overwrite accepted", dir.filePath("shelf"), QMessageBox::Yes, dir.filePath("shelf.lab")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnswerFileDialog(row.typed);
        const auto seen = row.answer ? AnswerMessageBox(*row.answer) : nullptr;
        EXPECT_EQ(AskSaveLabelPath(nullptr, dir.path()), row.saved);
        if (seen) {
            EXPECT_TRUE(seen->shown);
            EXPECT_TRUE(seen->text.contains(QStringLiteral("overwrite")));
        }
    }
    for (const QString& chosen : {dir.filePath("shelf.lab"), QString()}) {
        AnswerFileDialog(chosen);
        EXPECT_EQ(AskOpenLabelPath(nullptr, dir.path()), chosen);
    }
}

// d for a line = (10·1000 − 10·400) ÷ 601 = 9; for a page = 600·400 ÷ 601 = 399.
TEST(ScrollStep, MovesTheCanvas) {
    const struct {
        const char* name;
        ScrollCode code;
        bool bHorizontal;
        int nPos, nTrack, nLeading;  // the canvas's leading edge before the step (trailing = leading + 1000)
        int nWantPos, nWantLeading;
    } rows[] = {
        {"LineBackStopsAtTheEdge", ScrollCode::LineBack, false, 4, 0, -4, 0, 0},
        {"LineBackFullStep", ScrollCode::LineBack, false, 100, 0, -100, 90, -91},
        {"LineBackHorizontalAtZero", ScrollCode::LineBack, true, 0, 0, -3, 0, -3},
        {"LineForward", ScrollCode::LineForward, true, 0, 0, 0, 10, -9},
        {"LineForwardStopsAtTheEnd", ScrollCode::LineForward, false, 596, 0, -596, 601, -600},
        {"LineForwardHorizontalAtLimit", ScrollCode::LineForward, true, 601, 0, -600, 601, -600},
        {"PageBackToZero", ScrollCode::PageBack, false, 300, 0, -300, 0, 0},
        {"PageBack", ScrollCode::PageBack, false, 500, 0, -500, 100, -101},
        {"PageForward", ScrollCode::PageForward, false, 0, 0, 0, 400, -399},
        {"PageForwardToTheEnd", ScrollCode::PageForward, false, 400, 0, -399, 601, -600},
        {"ThumbToTheEnd", ScrollCode::ThumbTrack, true, 0, 601, 0, 601, -600},
        {"OtherCodesDoNothing", ScrollCode::Other, true, 50, 0, -50, 50, -50},
    };
    for (const auto& c : rows) {
        const ScrollResult r =
            ComputeCanvasScroll(c.code, c.bHorizontal, {1000, 400, c.nPos, ScrollLimit(1000, 400)}, c.nTrack,
                                c.nLeading, c.nLeading + 1000);
        EXPECT_EQ((std::array{r.nPos, r.nLeading}), (std::array{c.nWantPos, c.nWantLeading})) << c.name;
    }
    const ScrollResult none =
        ComputeCanvasScroll(ScrollCode::PageForward, false, {300, 400, 0, 0}, 0, 10, 310);
    EXPECT_EQ((std::array{none.nPos, none.nLeading}), (std::array{0, 10})) << "nothing without a range";
}

// A small canvas is centred on teal without bars; a taller one sits at the top with a vertical bar;
// the bars follow a zoom and a resized window, and their steps move the canvas.
TEST(View, CentresTheCanvasAndScrollsIt) {
    CTagoraView view;
    view.resize(800, 500);
    auto* canvas = new QWidget;  // owned by the view
    canvas->resize(375, 300);
    view.SetCanvas(canvas);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(canvas->pos(), QPoint(212, 100));
    EXPECT_FALSE(view.m_wndHScroll.isVisible() || view.m_wndVScroll.isVisible());
    EXPECT_EQ(view.grab().toImage().pixelColor(5, 5), QColor(0x40, 0x80, 0x80));
    canvas->resize(375, 600);
    view.CentreCanvas();
    EXPECT_EQ(canvas->pos(), QPoint(212, 0));
    EXPECT_TRUE(view.m_wndVScroll.isVisible());
    EXPECT_FALSE(view.m_wndHScroll.isVisible());

    canvas->setGeometry(-100, 50, 1200, 300);  // as a zoom leaves it
    ASSERT_TRUE(view.m_wndHScroll.isVisible());
    EXPECT_EQ(view.m_wndHScroll.value(), 100);
    EXPECT_EQ(view.m_wndHScroll.pageStep(), 800);
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_NEAR(canvas->geometry().right() + 1, 800, 1);
    EXPECT_EQ(canvas->y(), 50);  // the other coordinate stays
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(canvas->x(), 0);
    canvas->setGeometry(-4, 0, 1200, 300);
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(canvas->x(), 0);  // 4 pixels, not a whole line
    view.m_wndHScroll.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(canvas->x(), -9);  // (10 × 1200 − 10 × 800) ÷ 401
}

}  // namespace
}  // namespace etiqo
