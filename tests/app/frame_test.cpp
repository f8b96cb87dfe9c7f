// The real main window on the offscreen platform: layout, keys, buttons, files and the close question.
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
#include "app/RecentFiles.h"
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
            Canvas().GetLabel().m_nUndoCount = 0;
        }
        frame = std::make_unique<CMainFrame>();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        if (frame) {
            Canvas().GetLabel().m_nUndoCount = 0;  // no question at the end
            Canvas().GetLabel().m_bModified = false;
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

// The bars, the rulers and the view fill the client area, and the rulers follow the canvas.
TEST_F(Frame, LayoutFollowsTheClientAreaAndTheCanvas) {
    frame->resize(1200, 800);
    const QSize client = frame->m_pClient->size();
    EXPECT_EQ(frame->m_wndView.geometry(), QRect(24, 108, client.width() - 24, client.height() - 126));
    frame->OnCommand(137);
    EXPECT_EQ(frame->m_wndRuler.m_nViewWidth, Canvas().width());
    EXPECT_EQ(QPoint(frame->m_wndRuler.m_nCanvasLeft, frame->m_wndRuler.m_nCanvasTop), Canvas().pos());
    EXPECT_EQ(frame->m_wndRuler.m_nLabelWidthMM, 50);
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

    // What the drawing cannot show is said in the status bar, naming the element's file.
    const std::string missing = (std::filesystem::path(dir.path().toStdString()) / "gone.png").string();
    Canvas().GetLabel().Append(*MakePictureElement(200, 20, missing, 50, 50));
    Canvas().grab();
    EXPECT_TRUE(frame->m_wndStatusBar.currentMessage().contains(QStringLiteral("gone.png")))
        << frame->m_wndStatusBar.currentMessage().toStdString();
}

// Keys reach the canvas once, wherever the focus is; the menus' states follow the label.
TEST_F(Frame, KeysAndMenuStatesWorkOnTheCanvas) {
    frame->UpdateMenuState();
    for (const int command : {57643, 57634, 57637, 32794}) {  // Undo, Copy, Paste, Direct Send
        EXPECT_FALSE(frame->MenuAction(command)->isEnabled()) << command;
    }
    EXPECT_TRUE(frame->MenuAction(32773)->isEnabled());  // the English Save works
    Element& text = AddSelectedText();
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
    EXPECT_EQ(Canvas().GetLabel().m_copyBuffer.size(), 1u);
    frame->UpdateMenuState();
    for (const int command : {57643, 57635, 57637}) {  // Undo, Cut, Paste
        EXPECT_TRUE(frame->MenuAction(command)->isEnabled()) << command;
    }
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

TEST_F(Frame, ButtonsAndTheWheelReachTheCanvas) {
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

    const QPoint at = Canvas().mapTo(&frame->m_wndView, QPoint(5, 5));
    QWheelEvent wheel(at, frame->m_wndView.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&frame->m_wndView, &wheel);
    EXPECT_EQ(Canvas().width(), width + 30);
}

// The close question in both languages: nothing to ask right after the start; No closes without
// saving; Yes asks for a file name (even for a label that has one) and saves, or stays open when
// that is cancelled.
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
        {"no", false, QMessageBox::No, {}, true, "Label Editor"},
        {"Chinese", true, QMessageBox::No, {}, true, "标签编辑"},
        {"yes, then cancel", false, QMessageBox::Yes, {}, false, "Label Editor"},
        {"yes", false, QMessageBox::Yes, "kept", true, "Label Editor"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetChineseInterface(row.chinese);
        Open();
        AddSelectedText();
        Canvas().GetLabel().m_strFileName = dir.filePath("opened.lab").toStdString();
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

// Save As, then open again; a file name in Latin-1 (not UTF-8) and one of 255 bytes open and save
// back under their own names; a malformed file is named and the open label kept.
TEST_F(Frame, FilesOpenAndSaveUnderTheirOwnNames) {
    AddSelectedText();
    AnswerFileDialog(dir.filePath("round"));
    frame->OnCommand(32788);  // Save As
    Canvas().SetLabelSize(30, 20);
    ASSERT_TRUE(frame->OpenLabelFile(dir.filePath("round.lab")));
    EXPECT_EQ(Canvas().GetLabel().m_elements.size(), 1u);
    EXPECT_EQ(Canvas().GetLabel().m_nLabelWidthMM, 50);
    EXPECT_EQ(RecentFiles().Entries().front(), dir.filePath("round.lab"));

    const auto folder = std::filesystem::path(QFile::encodeName(dir.path()).toStdString()) / "labels";
    std::filesystem::create_directories(folder);
    for (const std::string& name : {std::string("caf\xE9.lab"), std::string(251, 'n') + ".lab"}) {
        const std::filesystem::path file = folder / name;
        ASSERT_TRUE(SaveLabelFile(Canvas().GetLabel(), file));
        ASSERT_TRUE(frame->OpenLabelFile(file));
        AddSelectedText();
        frame->OnCommand(cmd::kSave);
        EXPECT_EQ(ReadLabelFile(file).contents->elements.size(), 2u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
        std::filesystem::remove(file);
        Canvas().GetLabel().m_elements.resize(1);
    }

    const QString bad = dir.filePath("broken.lab");
    std::ofstream(bad.toStdString()) << "not a label at all";
    const auto seen = AnswerMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(frame->OpenLabelFile(bad));
    EXPECT_TRUE(seen->text.contains(QStringLiteral("broken.lab"))) << seen->text.toStdString();
    EXPECT_EQ(Canvas().GetLabel().m_elements.size(), 1u);
}

}  // namespace
}  // namespace etiqo
