// What a user meets in the designer: the real main window with the real dialogs, driven with mouse
// and key events, one named row per trap.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include "ModalDriver.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/RecentFiles.h"
#include "dialogs/PropertyDialogs.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "render/FontMapping.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

class Designer {
public:
    Designer() {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        SetUpApplicationSettings();
        frame = std::make_unique<CMainFrame>(&dialogs);
        firstCanvasSize = Canvas().size();
        frame->show();
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    ~Designer() { Label().m_nUndoCount = 0; }  // no question at the end

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

    // A label file of the given size holding one text, naming a printer that does not exist.
    QString WriteLabel(const char* name, int widthMM, int heightMM) {
        etiqo::Label label;
        label.m_nLabelWidthMM = widthMM;
        label.m_nLabelHeightMM = heightMM;
        label.m_strPrinterName = "no-such-printer";
        label.Append(MakeTextElement(10, 10, name));
        const QString path = dir.filePath(QString::fromLatin1(name) + ".lab");
        EXPECT_TRUE(SaveLabelFile(label, path.toStdString()));
        return path;
    }
    // The selected element's box centre in display pixels.
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

struct Trap {
    const char* name;
    std::function<void(Designer&)> run;
};

const Trap kTraps[] = {
    {"PictureToolLetsGoAfterItsDialog",
     [](Designer& d) {
         int asked = 0;
         d.Canvas().SetPictureFileChooser([&asked](QWidget*) {
             ++asked;
             return QString();  // cancelled
         });
         d.Command(104);
         // The file dialog swallows the release of the press that opened it.
         QTest::mousePress(&d.Canvas(), Qt::LeftButton, {}, QPoint(60, 60));
         d.Click(QPoint(90, 90));
         QTest::mouseDClick(&d.Canvas(), Qt::LeftButton, {}, QPoint(90, 90));
         EXPECT_EQ(asked, 1);
         EXPECT_EQ(d.Canvas().m_nTool, 0);
     }},
    {"FirstLayoutEqualsTheLaterOnes",
     [](Designer& d) {
         d.Canvas().Layout(50, 80);
         EXPECT_EQ(d.Canvas().size(), d.firstCanvasSize);
         EXPECT_EQ(d.Canvas().height(), d.frame->height() - d.frame->menuBar()->height() - 50);
     }},
    {"TextAttributesKeepTheFaceOnOk",
     [](Designer& d) {
         d.Command(101);
         d.Click(QPoint(60, 60));
         d.Canvas().repaint();  // a new text is measured at its first paint
         QString shownFamily;
         testing::OnNextModal<QFontDialog>([&shownFamily](QFontDialog* dialog) {
             shownFamily = dialog->currentFont().family();
             dialog->accept();
         });
         d.Canvas().SetMenuRunner([](QMenu& menu) { return menu.actions().at(1); });  // Text Attributes
         QTest::mouseClick(&d.Canvas(), Qt::RightButton, {}, QPoint(62, 62));
         EXPECT_EQ(shownFamily, ResolveFamily("\xCB\xCE\xCC\xE5"));  // the family that draws the text
         EXPECT_EQ(std::string(FaceNameBytes(d.At(0).lfFont)), "\xCB\xCE\xCC\xE5");  // 宋体 in GB18030
     }},
    {"BatchLeavesTheOpenLabelAsItWas",
     [](Designer& d) {
         const QString mine = d.WriteLabel("mine", 60, 40);
         ASSERT_TRUE(d.frame->OpenLabelFile(mine));
         d.Label().m_strPrinterName = "mine";
         d.Label().m_arrBatchFiles.push_back(d.WriteLabel("queued", 30, 20).toStdString());
         testing::OnNextModal<QDialog>([](QDialog* files) { files->reject(); });  // nothing more to queue
         const auto report = testing::AnswerMessageBox(QMessageBox::Ok);          // the job could not print
         d.Command(32785);
         EXPECT_TRUE(report->shown);
         EXPECT_EQ(d.Label().m_strFileName, mine.toStdString());
         EXPECT_EQ(d.Label().m_nLabelWidthMM, 60);
         ASSERT_EQ(d.Label().m_elements.size(), 1u);
         EXPECT_STREQ(d.At(0).str, "mine");
         EXPECT_EQ(d.Label().m_strPrinterName, "mine");
     }},
    {"NextDragStartsWhereAPlacementLeftIt",
     [](Designer& d) {
         d.Command(106);
         d.Click(QPoint(200, 300));  // a 100 × 100-dot shape
         d.Command(140);             // Top
         Element& shape = d.At(0);
         ASSERT_EQ(shape.nPosY, 0);
         for (int i = 0; i < 5; ++i) {
             QTest::keyClick(&d.Canvas(), Qt::Key_Right);
         }
         const std::int32_t x = shape.nPosX;
         const QPoint from = d.Centre(shape);
         d.Drag(from, from + QPoint(0, 30));
         EXPECT_EQ(shape.nPosX, x);
         EXPECT_NEAR(shape.nPosY, 30 / d.Canvas().Scale().y, 1);
     }},
    {"WholeLineMoveStaysOne",
     [](Designer& d) {
         d.Command(105);
         d.Drag(QPoint(50, 200), QPoint(250, 200));
         Element& line = d.At(0);
         QTest::mouseMove(&d.Canvas(), QPoint(150, 200));
         QTest::mousePress(&d.Canvas(), Qt::LeftButton, {}, QPoint(150, 200));
         QTest::mouseMove(&d.Canvas(), QPoint(52, 200));  // lands on the start's old place
         QTest::mouseMove(&d.Canvas(), QPoint(40, 200));
         QTest::mouseRelease(&d.Canvas(), Qt::LeftButton, {}, QPoint(40, 200));
         EXPECT_EQ(line.nEndX, 140);  // moved by -110 pixels with its start
         EXPECT_NEAR(line.nPosX, -110 / d.Canvas().Scale().x + 50 / d.Canvas().Scale().x, 2);
     }},
    {"BandSelectsWhatItTouches",
     [](Designer& d) {
         for (const QPoint at : {QPoint(100, 100), QPoint(250, 300)}) {
             d.Command(106);
             d.Click(at);
         }
         d.Click(QPoint(350, 560));  // empty canvas: nothing selected
         EXPECT_FALSE(d.Label().HasSelection());
         QTest::mousePress(&d.Canvas(), Qt::LeftButton, {}, QPoint(20, 20));
         QTest::mouseMove(&d.Canvas(), QPoint(90, 90));
         const QImage shown = d.Canvas().grab().toImage();
         QTest::mouseRelease(&d.Canvas(), Qt::LeftButton, {}, QPoint(90, 90));
         int bandPixels = 0;
         for (int x = 20; x <= 90; ++x) {
             bandPixels += shown.pixelColor(x, 20) != Qt::white ? 1 : 0;
         }
         EXPECT_GT(bandPixels, 10);  // the band is drawn while it is dragged
         EXPECT_TRUE(d.At(0).bSelected);
         EXPECT_FALSE(d.At(1).bSelected);
         d.Drag(QPoint(380, 600), QPoint(240, 290), Qt::ShiftModifier);
         EXPECT_TRUE(d.At(0).bSelected);
         EXPECT_TRUE(d.At(1).bSelected);
         d.Drag(QPoint(380, 600), QPoint(370, 590));  // an empty band clears the selection
         EXPECT_FALSE(d.Label().HasSelection());
     }},
    {"ToolsHaveKeysAndAnInsertMenu",
     [](Designer& d) {
         ASSERT_TRUE(d.Canvas().hasFocus());
         QTest::keyClick(&d.Canvas(), Qt::Key_T);
         ASSERT_EQ(d.Label().m_elements.size(), 1u);
         EXPECT_EQ(d.At(0).nKind, ElementKind::Text);
         EXPECT_TRUE(d.At(0).bSelected);
         EXPECT_NE(d.At(0).nWidth, 0);
         EXPECT_LE((d.Centre(d.At(0)) - d.Canvas().VisibleCentre()).manhattanLength(), 4);
         EXPECT_EQ(d.frame->m_wndPalette.ButtonToolTip(1), QStringLiteral("Text (T)"));

         d.frame->MenuAction(cmd::kInsertBarcode)->trigger();
         ASSERT_EQ(d.Label().m_elements.size(), 2u);
         EXPECT_EQ(d.At(1).nKind, ElementKind::Barcode);
         EXPECT_FALSE(d.At(0).bSelected);
         EXPECT_LE((d.Centre(d.At(1)) - d.Canvas().VisibleCentre()).manhattanLength(), 4);

         for (const auto redo : {QKeyCombination(Qt::CTRL, Qt::Key_Y), Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
             QTest::keyClick(&d.Canvas(), Qt::Key_Z, Qt::ControlModifier);
             EXPECT_EQ(d.Label().m_elements.size(), 1u);
             QTest::keyClick(&d.Canvas(), redo.key(), redo.keyboardModifiers());
             EXPECT_EQ(d.Label().m_elements.size(), 2u);
         }

         QAccessibleInterface* palette = QAccessible::queryAccessibleInterface(&d.frame->m_wndPalette);
         QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&d.frame->m_wndCommandBar);
         ASSERT_TRUE(palette && bar);
         EXPECT_EQ(palette->child(5)->text(QAccessible::Name), QStringLiteral("Line"));
         EXPECT_EQ(palette->child(5)->role(), QAccessible::Button);
         EXPECT_EQ(bar->child(25)->text(QAccessible::Name), QStringLiteral("Vertical equal spacing"));
         palette->child(5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
         QCoreApplication::processEvents();
         EXPECT_EQ(d.Canvas().m_nTool, 5);
     }},
    {"RecentFilesMenuAndWindowSize",
     [](Designer& d) {
         d.Command(cmd::kInsertShape);
         for (const char* name : {"older.lab", "newer.lab"}) {
             ASSERT_TRUE(d.frame->SaveLabel(d.dir.filePath(QString::fromLatin1(name))));
         }
         QMenu* recent = d.frame->MenuAction(cmd::kRecentFiles)->menu();
         emit recent->aboutToShow();
         ASSERT_EQ(recent->actions().size(), 2);
         EXPECT_TRUE(recent->actions().at(0)->text().endsWith(QStringLiteral("newer.lab")));
         recent->actions().at(1)->trigger();
         EXPECT_EQ(QString::fromStdString(d.Label().m_strFileName),
                   d.dir.filePath(QStringLiteral("older.lab")));

         d.frame->showNormal();
         d.frame->resize(900, 600);
         d.Label().m_nUndoCount = 0;
         d.frame->close();
         CMainFrame next;
         ASSERT_TRUE(next.RestoreWindowState());
         EXPECT_EQ(next.size(), QSize(900, 600));
     }},
};

void PrintTo(const Trap& trap, std::ostream* out) {
    *out << trap.name;
}

class DesignerTraps : public ::testing::TestWithParam<Trap> {
protected:
    void TearDown() override { SetChineseInterface(false); }
};

TEST_P(DesignerTraps, Hold) {
    Designer designer;
    GetParam().run(designer);
}

INSTANTIATE_TEST_SUITE_P(Designer, DesignerTraps, ::testing::ValuesIn(kTraps),
                         [](const ::testing::TestParamInfo<Trap>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace etiqo
