// The real main window on the offscreen platform: layout, menus, keys, buttons and the close question.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>
#include <fstream>

#include "ModalDriver.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/FrameLayout.h"
#include "app/RecentFiles.h"
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
        frame = std::make_unique<CMainFrame>();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        if (frame) {
            frame->m_wndCanvas.GetLabel().m_nUndoCount = 0;  // no question at the end
            frame->m_wndCanvas.GetLabel().m_bModified = false;
        }
        frame.reset();
        SetChineseInterface(false);
    }
    CLabelCanvas& Canvas() { return frame->m_wndCanvas; }
    // One selected text element, recorded as an edit.
    Element& AddSelectedText() {
        Canvas().CreateTextElement(QStringLiteral("Shelf 12"), QPoint(40, 40));
        Canvas().SaveSnapshot();
        return *Canvas().GetLabel().m_elements.back();
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(Frame, LayoutRectanglesForAClientSize) {
    for (const QSize client : {QSize(1000, 650), QSize(1400, 900)}) {
        frame->OnSize(client.width(), client.height());
        const int cx = client.width();
        const int cy = client.height();
        EXPECT_EQ(frame->m_wndCommandBar.geometry(), QRect(0, 0, cx, 42));
        EXPECT_EQ(frame->m_wndPalette.geometry(), QRect(0, 42, cx, 42));
        EXPECT_EQ(frame->m_wndRuler.geometry(), QRect(0, 84, cx, cy - 104));
        EXPECT_EQ(frame->m_wndView.geometry(), QRect(24, 108, cx - 24, cy - 126));
    }
    // The client area itself drives the same layout when the window changes size.
    frame->resize(1200, 800);
    const QSize client = frame->m_pClient->size();
    EXPECT_EQ(frame->m_wndView.geometry(), QRect(24, 108, client.width() - 24, client.height() - 126));
}

// The canvas is laid out for the frame's client area, which the menu bar is not part of.
TEST_F(Frame, ATallLabelFitsUnderTheMenuBar) {
    frame->resize(1000, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_TRUE(frame->menuBar()->isVisible());
    Canvas().Layout(100, 150);  // 1199 dots tall: the height decides
    EXPECT_EQ(Canvas().height(), frame->height() - frame->menuBar()->height() - 50);
}

TEST_F(Frame, TitleAndMenusInBothLanguages) {
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Etiqo Editor"));
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions()) {
        titles << a->text();
    }
    EXPECT_EQ(titles,
              (QStringList{"File(&F)", "Edit", "Insert(&I)", "batch print(&V)", "Data(&D)", "Help(&H)"}));
    ASSERT_NE(frame->MenuAction(32773), nullptr);  // the English Save
    EXPECT_EQ(frame->MenuAction(32797), nullptr);

    frame->m_wndCanvas.GetLabel().m_nUndoCount = 0;
    frame.reset();
    SetChineseInterface(true);
    frame = std::make_unique<CMainFrame>();
    titles.clear();
    for (QAction* a : frame->menuBar()->actions()) {
        titles << a->text();
    }
    EXPECT_EQ(titles,
              (QStringList{"文件(&F)", "编辑(&E)", "插入(&I)", "批量打印(&V)", "数据(&D)", "帮助(&H)"}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Etiqo Editor"));
    EXPECT_NE(frame->MenuAction(32797), nullptr);
    EXPECT_EQ(frame->MenuAction(32794), nullptr);
}

TEST_F(Frame, CheckLabelOutlinesACodeThatWouldNotScanUntilTheNextEdit) {
    Canvas().CreateBarcodeElement(QStringLiteral("123456789012345678901234567890"), QPoint(20, 20));
    Element& code = *Canvas().GetLabel().m_elements.back();
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
    const QImage shot = Canvas().grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            red += QColor(shot.pixel(x, y)) == QColor(Qt::red);
        }
    }
    EXPECT_GT(red, 50);
    Canvas().SaveSnapshot();  // any edit
    EXPECT_TRUE(Canvas().toolTip().isEmpty());
}

TEST_F(Frame, MenuStateFollowsTheLabel) {
    frame->UpdateMenuState();
    EXPECT_FALSE(frame->MenuAction(57643)->isEnabled());  // Undo
    EXPECT_FALSE(frame->MenuAction(57634)->isEnabled());  // Copy
    EXPECT_FALSE(frame->MenuAction(57637)->isEnabled());  // Paste
    EXPECT_FALSE(frame->MenuAction(32794)->isEnabled());  // Direct Send
    EXPECT_TRUE(frame->MenuAction(32773)->isEnabled());   // the English Save works
    AddSelectedText();
    frame->OnCommand(57634);  // Copy
    frame->UpdateMenuState();
    EXPECT_TRUE(frame->MenuAction(57643)->isEnabled());
    EXPECT_TRUE(frame->MenuAction(57635)->isEnabled());
    EXPECT_TRUE(frame->MenuAction(57637)->isEnabled());
}

TEST_F(Frame, ArrowKeysReachTheCanvasWhileTheFontListHasTheFocus) {
    Element& text = AddSelectedText();
    const int x = text.nPosX;
    const int y = text.nPosY;
    QComboBox* fonts = frame->m_wndPalette.FontNameList();
    fonts->setFocus();
    ASSERT_TRUE(fonts->hasFocus());
    QTest::keyClick(fonts, Qt::Key_Left);
    EXPECT_EQ(text.nPosX, x - 1);
    QTest::keyClick(fonts, Qt::Key_Down);
    EXPECT_EQ(text.nPosY, y + 1);
    // With the focus on the canvas itself the key acts once, not twice.
    Canvas().setFocus();
    QTest::keyClick(&Canvas(), Qt::Key_Right);
    EXPECT_EQ(text.nPosX, x);
}

TEST_F(Frame, DeleteKeyAndAcceleratorsReachTheCanvas) {
    AddSelectedText();
    Canvas().setFocus();
    QTest::keyClick(&Canvas(), Qt::Key_C, Qt::ControlModifier);  // Copy
    EXPECT_EQ(Canvas().GetLabel().m_copyBuffer.size(), 1u);
    QTest::keyClick(&Canvas(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_TRUE(Canvas().GetLabel().m_elements.empty());
    const int nPos = Canvas().GetLabel().m_nUndoPos;
    QTest::keyClick(&Canvas(), Qt::Key_Z, Qt::ControlModifier);  // Undo
    EXPECT_EQ(Canvas().GetLabel().m_nUndoPos, nPos - 1);
    const std::size_t count = Canvas().GetLabel().m_elements.size();
    QTest::keyClick(&Canvas(), Qt::Key_V, Qt::ControlModifier);  // Paste
    EXPECT_EQ(Canvas().GetLabel().m_elements.size(), count + 1);
}

TEST_F(Frame, PaletteAndCommandBarButtonsReachTheCanvas) {
    auto click = [](CButtonBar& bar, int button) {
        const QPoint at = bar.PressArea(button).center();
        QTest::mouseMove(&bar, at);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at);
        QApplication::processEvents();  // the commands are queued
    };
    click(frame->m_wndPalette, 1);  // Text
    EXPECT_EQ(Canvas().m_nTool, 1);
    click(frame->m_wndPalette, 0);  // Selection
    EXPECT_EQ(Canvas().m_nTool, 0);

    const int width = Canvas().width();
    click(frame->m_wndCommandBar, 7);  // Zoom In
    EXPECT_EQ(Canvas().width(), width + 30);
    click(frame->m_wndCommandBar, 8);  // Zoom Out
    EXPECT_EQ(Canvas().width(), width);

    Element& text = AddSelectedText();
    click(frame->m_wndCommandBar, 5);  // Left Hand Rotation
    EXPECT_EQ(text.lfFont.lfEscapement, 900);
}

TEST_F(Frame, ControlWheelZooms) {
    const int width = Canvas().width();
    const QPoint at = Canvas().mapTo(&frame->m_wndView, QPoint(5, 5));
    QWheelEvent wheel(at, frame->m_wndView.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&frame->m_wndView, &wheel);
    EXPECT_EQ(Canvas().width(), width + 30);
}

TEST_F(Frame, RulersFollowTheCanvas) {
    const QPoint at = Canvas().pos();
    EXPECT_EQ(frame->m_wndRuler.m_nCanvasLeft, at.x());
    EXPECT_EQ(frame->m_wndRuler.m_nCanvasTop, at.y());
    EXPECT_EQ(frame->m_wndRuler.m_nLabelWidthMM, 50);
    EXPECT_EQ(frame->m_wndRuler.m_nViewWidth, Canvas().width());
    frame->OnCommand(137);
    EXPECT_EQ(frame->m_wndRuler.m_nViewWidth, Canvas().width());
    EXPECT_EQ(frame->m_wndRuler.m_nCanvasLeft, Canvas().x());
}

TEST_F(Frame, ClosingRightAfterStartAsksNothing) {
    EXPECT_TRUE(frame->close());
}

TEST_F(Frame, CloseQuestionNoClosesWithoutSaving) {
    AddSelectedText();
    const auto seen = AnswerMessageBox(QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(seen->shown);
    EXPECT_EQ(seen->caption, QStringLiteral("Label Editor"));
    EXPECT_EQ(seen->text, QStringLiteral("The Label has not been saved, Do you want to save it?"));
}

TEST_F(Frame, CloseQuestionYesThenCancelKeepsTheWindowOpen) {
    AddSelectedText();
    Canvas().GetLabel().m_strFileName = dir.filePath("opened.lab").toStdString();
    AnswerMessageBox(QMessageBox::Yes);
    const auto dialog = AnswerFileDialog(QString());
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(*dialog);  // asked even though the label has a file
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(Frame, CloseQuestionYesSavesAndCloses) {
    AddSelectedText();
    AnswerMessageBox(QMessageBox::Yes);
    AnswerFileDialog(dir.filePath("kept"));
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(QFileInfo(dir.filePath("kept.lab")).size(), 84 + 508);
}

// Snapshots that cannot be written (something planted where their folder belongs) are reported
// once, and the label still counts as changed after Delete and Redo.
TEST_F(Frame, FailingSnapshotsAreToldAndTheCloseQuestionStays) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    std::ofstream(dir.filePath("etiqo").toStdString()) << "planted";
    frame->m_wndCanvas.GetLabel().m_nUndoCount = 0;
    frame = std::make_unique<CMainFrame>();
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
    EXPECT_EQ(asked->text, QStringLiteral("The Label has not been saved, Do you want to save it?"));
}

TEST_F(Frame, ChineseCloseQuestion) {
    frame->m_wndCanvas.GetLabel().m_nUndoCount = 0;
    frame.reset();
    SetChineseInterface(true);
    frame = std::make_unique<CMainFrame>();
    AddSelectedText();
    const auto seen = AnswerMessageBox(QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(seen->caption, QStringLiteral("标签编辑"));
    EXPECT_EQ(seen->text, QStringLiteral("所修改的标签还没有保存，是否要保存？"));
}

TEST_F(Frame, OpeningAMalformedFileNamesItAndKeepsTheLabel) {
    AddSelectedText();
    const QString bad = dir.filePath("broken.lab");
    std::ofstream(bad.toStdString()) << "not a label at all";
    const auto seen = AnswerMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(frame->OpenLabelFile(bad));
    EXPECT_TRUE(seen->shown);
    EXPECT_TRUE(seen->text.contains(QStringLiteral("broken.lab"))) << seen->text.toStdString();
    EXPECT_EQ(Canvas().GetLabel().m_elements.size(), 1u);
}

TEST_F(Frame, SaveThenOpenRoundTrip) {
    AddSelectedText();
    AnswerFileDialog(dir.filePath("round"));
    frame->OnCommand(32788);  // Save As
    Canvas().SetLabelSize(30, 20);
    ASSERT_TRUE(frame->OpenLabelFile(dir.filePath("round.lab")));
    EXPECT_EQ(Canvas().GetLabel().m_elements.size(), 1u);
    EXPECT_EQ(Canvas().GetLabel().m_nLabelWidthMM, 50);
    EXPECT_EQ(RecentFiles().Entries().front(), dir.filePath("round.lab"));
}

// A file name in Latin-1 (not UTF-8) and one of 255 bytes open and save back under their own names.
TEST_F(Frame, AnyFileNameOpensAndSavesBack) {
    for (const std::string& name : {std::string("caf\xE9.lab"), std::string(251, 'n') + ".lab"}) {
        const auto folder = std::filesystem::path(QFile::encodeName(dir.path()).toStdString()) / "labels";
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / name;
        AddSelectedText();
        ASSERT_TRUE(SaveLabelFile(Canvas().GetLabel(), file));
        ASSERT_TRUE(frame->OpenLabelFile(file));
        AddSelectedText();
        frame->OnCommand(cmd::kSave);
        EXPECT_EQ(ReadLabelFile(file).contents->elements.size(), 2u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
        std::filesystem::remove(file);
        Canvas().SetLabelSize(50, 80);
    }
}

}  // namespace
}  // namespace etiqo
