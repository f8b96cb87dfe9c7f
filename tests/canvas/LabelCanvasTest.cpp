// The canvas widget driven with real mouse events, with fake dialogs and undo snapshots in a private
// folder: what the widget adds to the editing rules (tools, snapshots, cursors, menus, dialogs).
#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <cstring>
#include <fstream>
#include <functional>

#include "CanvasTestElements.h"
#include "TempDir.h"
#include "canvas/EditTypes.h"
#include "canvas/ElementDialogs.h"
#include "canvas/LabelCanvas.h"

namespace etiqo {
namespace {

using test::Box;

// Records every call; each Edit answers `accept`, moving the element a dot when accepting.
class FakeDialogs : public ElementDialogs {
public:
    bool accept = true;
    std::vector<std::string> calls;

    bool EditText(QWidget*, Element& e) override { return Answer("text", e); }
    bool EditBarcode(QWidget*, Element& e, int, int) override { return Answer("barcode", e); }
    bool Edit2DCode(QWidget*, Element& e, int) override { return Answer("2d", e); }
    bool EditPictureSize(QWidget*, Element& e, int, int) override { return Answer("picture", e); }
    bool EditShape(QWidget*, Element& e) override { return Answer("shape", e); }
    bool EditFont(QWidget*, LOGFONTA& font) override {
        calls.push_back("font");
        font.lfWeight = accept ? 700 : font.lfWeight;
        return accept;
    }
    std::optional<PixelSize> AskNewLabelSize(QWidget*) override { return std::nullopt; }
    std::vector<std::string> ChooseBatchFiles(QWidget*) override { return {}; }

private:
    bool Answer(const char* what, Element& e) {
        calls.push_back(what);
        e.nPosX += accept ? 1 : 0;
        return accept;
    }
};

// Dots to canvas pixels at the fixture's scale of 2.
QPoint At(int xDots, int yDots) {
    return {2 * xDots, 2 * yDots};
}

class CanvasTest : public ::testing::Test {
protected:
    // A 50 × 30 mm label at 254 dpi is 500.5 × 300.5 dots; in a frame of 1100 × 700 it is shown
    // at two pixels per dot exactly (1001 × 601), which keeps the expectations readable.
    void SetUp() override {
        m_frame.resize(1100, 700);
        canvas = new CLabelCanvas(SnapshotStore(m_temp.Path()), nullptr);
        canvas->GetLabel().m_nDpiX = canvas->GetLabel().m_nDpiY = 254;
        canvas->Create(&m_frame, 50, 30);
        canvas->SetDialogs(&dialogs);
        canvas->SetMessageSink([this](const QString& m) { messages.push_back(m.toStdString()); });
        const auto png = m_temp / "logo.png";
        QImage(40, 10, QImage::Format_RGB32).save(QString::fromStdString(png.string()));
        canvas->SetPictureFileChooser([png](QWidget*) { return QString::fromStdString(png.string()); });
        m_frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
        ASSERT_EQ(canvas->Scale().x, 2.0);
        ASSERT_EQ(canvas->Scale().y, 2.0);
    }

    ElementList& Elements() { return canvas->GetLabel().m_elements; }
    int Snapshots() const { return canvas->GetLabel().m_nUndoCount; }
    // Adds an element and paints, so grips and measured sizes are up to date as after a real repaint.
    Element& Put(const Element& e) {
        Element& added = test::Add(Elements(), e);
        Paint();
        return added;
    }
    void Paint() {
        canvas->repaint();
        QApplication::processEvents();
    }
    void Press(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mousePress(canvas, Qt::LeftButton, modifiers, p);
        Paint();
    }
    void Release(QPoint p) {
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, p);
        Paint();
    }
    void Click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Press(p, modifiers);
        Release(p);
    }
    // A move with the buttons given as held (QTest's own move carries no button state).
    void Move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(canvas->mapToGlobal(p)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        Paint();
    }
    void RightClick(QPoint p) { QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, p); }

    QWidget m_frame;
    testing::TempDir m_temp;
    CLabelCanvas* canvas = nullptr;  // owned by the frame
    FakeDialogs dialogs;
    std::vector<std::string> messages;
};

// Each creating tool makes its element where it is clicked, with its cursor shown meanwhile, and lasts
// for that one click; a creation is one snapshot, a spanning release another. Pictures the canvas
// cannot show, and paths the record cannot hold, are refused with a message naming the reason; a
// cancelled choice makes nothing.
TEST_F(CanvasTest, EachCreatingToolMakesOneElementPerClick) {
    const auto text = m_temp / "notes.txt";
    std::ofstream(text) << "not a picture";
    const auto deep = m_temp / std::string(120, 'd') / std::string(120, 'e');
    std::filesystem::create_directories(deep);
    ASSERT_TRUE(std::filesystem::copy_file(m_temp / "logo.png", deep / "logo.png"));
    const struct {
        const char* name;
        int tool;
        QPoint hotSpot;  // of the tool's cursor; (-1, -1) for a standard shape
        std::optional<ElementKind> kind;
        QRect box;  // made, clicked at its top left (a square about its centre); an empty size is measured
        int snapshots;
        std::optional<std::filesystem::path> picture;  // chosen for the picture tool; none: the fixture's
        const char* says;
    } rows[] = {
        {"text", kToolText, {0, 0}, ElementKind::Text, {40, 60, 0, 0}, 1, {}, nullptr},
        {"barcode", kToolBarcode, {0, 0}, ElementKind::Barcode, {40, 60, 0, 0}, 1, {}, nullptr},
        {"2D code", kTool2DCode, {0, 0}, ElementKind::Code2D, {40, 60, 0, 0}, 1, {}, nullptr},
        {"picture", kToolPicture, {0, 0}, ElementKind::Picture, {30, 40, 100, 25}, 1, {}, nullptr},
        {"not a picture", kToolPicture, {0, 0}, {}, {30, 40, 0, 0}, 0, text, "notes.txt"},
        {"path too long", kToolPicture, {0, 0}, {}, {30, 40, 0, 0}, 0, deep / "logo.png", "too long"},
        {"cancelled", kToolPicture, {0, 0}, {}, {30, 40, 0, 0}, 0, std::filesystem::path(), nullptr},
        {"square", kToolRectangle, {-1, -1}, ElementKind::Shape, {150, 100, 100, 100}, 2, {}, nullptr},
        {"line", kToolLine, {5, 5}, ElementKind::Line, {20, 30, 0, 0}, 2, {}, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Elements().clear();
        messages.clear();
        canvas->GetLabel().m_nUndoCount = 0;
        if (row.picture) {
            canvas->SetPictureFileChooser(
                [&](QWidget*) { return QString::fromStdString(row.picture->string()); });
        }
        canvas->SetTool(row.tool);
        if (row.hotSpot.x() < 0) {
            EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
        } else {
            EXPECT_EQ(canvas->cursor().pixmap().size(), QSize(32, 32));
            EXPECT_EQ(canvas->cursor().hotSpot(), row.hotSpot);
        }
        Click(row.kind == ElementKind::Shape ? At(200, 150) : At(row.box.x(), row.box.y()));
        EXPECT_EQ(canvas->m_nTool, kToolSelect);
        EXPECT_EQ(Snapshots(), row.snapshots);
        ASSERT_EQ(messages.size(), row.says ? 1u : 0u);
        if (row.says) {
            EXPECT_NE(messages[0].find(row.says), std::string::npos) << messages[0];
        }
        ASSERT_EQ(Elements().size(), row.kind ? 1u : 0u);
        if (!row.kind) {
            continue;
        }
        const Element& e = *Elements()[0];
        EXPECT_EQ(e.nKind, *row.kind);
        EXPECT_EQ(QPoint(e.nPosX, e.nPosY), row.box.topLeft());
        if (row.box.width() > 0) {
            EXPECT_EQ(QSize(e.nWidth, e.nHeight), row.box.size());
        } else if (row.kind != ElementKind::Line) {
            EXPECT_GT(e.nWidth, 0);
        }
        EXPECT_EQ(e.bSelected, 1);
        Click(At(400, 250));
        EXPECT_EQ(Elements().size(), 1u);
        EXPECT_EQ(Snapshots(), row.snapshots);
    }
    canvas->SetTool(kToolRectangle);
    canvas->SetTool(12);  // a style button: the cursor stays, a click makes nothing
    EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
    Elements().clear();
    Click(At(40, 60));
    EXPECT_TRUE(Elements().empty());
}

// Ctrl adds to the selection as Shift does; a move records one snapshot per drag step, a resize one
// at its release; each grip and a line's end show the cursor of their direction; a box dragged past
// both opposite edges is drawn and caught where it now lies; turning nothing records nothing.
TEST_F(CanvasTest, DragsResizesAndTheirSnapshots) {
    Element& a = Put(Box(ElementKind::Text, 10, 10, 40, 20, true));
    Element& b = Put(Box(ElementKind::Picture, 100, 50, 40, 40));
    std::snprintf(b.str, sizeof b.str, "%s", (m_temp / "logo.png").string().c_str());
    Click(At(110, 60), Qt::ControlModifier);
    ASSERT_EQ(test::SelectedFlags(Elements()), (std::vector<int>{1, 1}));
    Press(At(110, 60), Qt::ShiftModifier);
    for (const QPoint p : {At(115, 62), At(120, 64), At(130, 70)}) {
        Move(p, Qt::LeftButton);
    }
    Release(At(130, 70));
    EXPECT_EQ(QPoint(a.nPosX, a.nPosY), QPoint(30, 20));
    EXPECT_EQ(QPoint(b.nPosX, b.nPosY), QPoint(120, 60));
    EXPECT_EQ(Snapshots(), 3);

    Click(At(120, 70));
    const std::pair<int, Qt::CursorShape> cursors[] = {
        {6, Qt::SizeVerCursor}, {2, Qt::SizeBDiagCursor}, {3, Qt::SizeHorCursor}, {7, Qt::SizeFDiagCursor}};
    for (const auto& [grip, cursor] : cursors) {
        Move({b.ptGrip[grip].x + 2, b.ptGrip[grip].y + 2});
        EXPECT_EQ(canvas->cursor().shape(), cursor) << grip;
    }
    const QPoint corner(b.ptGrip[7].x + 2, b.ptGrip[7].y + 2);
    Press(corner);
    Move(corner + QPoint(20, 20), Qt::LeftButton);
    EXPECT_EQ(Snapshots(), 3);
    Release(corner + QPoint(20, 20));
    EXPECT_EQ(Snapshots(), 4);
    EXPECT_EQ(QSize(b.nWidth, b.nHeight), QSize(50, 50));

    b.bSelected = 0;
    Element& shape = Put(Box(ElementKind::Shape, 300, 50, 60, 40, true));
    const QPoint grip(shape.ptGrip[7].x + 2, shape.ptGrip[7].y + 2);
    Move(grip);
    Press(grip);
    Move(grip - QPoint(200, 160), Qt::LeftButton);  // 100 dots left and 80 up
    Release(grip - QPoint(200, 160));
    EXPECT_EQ(QSize(shape.nWidth, shape.nHeight), QSize(-40, -40));
    Click(At(450, 250));
    EXPECT_EQ(shape.bSelected, 0);
    Click(At(280, 30));  // inside the box as it now lies
    EXPECT_EQ(shape.bSelected, 1);
    EXPECT_EQ(canvas->grab().toImage().pixelColor(At(260, 10) + QPoint(1, 0)), QColor(Qt::black));  // outline

    shape.bSelected = 0;
    Element barcode = Box(ElementKind::Barcode, 300, 150, 150, 80, true);
    barcode.nSymbology = kSymbologyCode128;
    barcode.nMinBarHeight = 15;
    std::strcpy(barcode.str, "12345");
    Element& code = Put(barcode);
    const QPoint top(code.ptGrip[1].x + 2, code.ptGrip[1].y + 2);
    Move(top);
    Press(top);
    Move(top + QPoint(0, 40), Qt::LeftButton);   // 20 dots lower: 60 left
    Move(top + QPoint(0, 100), Qt::LeftButton);  // 30 would not stay above 35
    Release(top + QPoint(0, 100));
    EXPECT_EQ(QPoint(code.nPosY, code.nHeight), QPoint((top.y() + 40) / 2, 60));

    code.bSelected = 0;
    const Element& line = Put(test::Line(10, 250, 2 * 100, 2 * 250, true));
    Move(QPoint(line.nEndX + 3, line.nEndY - 3));  // within 4 pixels of its end
    EXPECT_EQ(canvas->m_nTool, kToolLineEnd);
    EXPECT_EQ(canvas->cursor().shape(), Qt::SizeHorCursor);
    Move(At(400, 280));  // leaving it disarms
    EXPECT_EQ(canvas->m_nTool, kToolSelect);

    a.bSelected = 1;
    canvas->AlignElement(AlignMode::Left);
    canvas->PositionElement(PositionMode::Top);
    EXPECT_EQ(a.nPosY, 0);
    const int snapshots = Snapshots();
    canvas->DeselectAll();
    canvas->RotateSelection(900);
    EXPECT_EQ(Snapshots(), snapshots);
    b.bSelected = 1;
    canvas->RotateSelection(-900);
    Paint();  // a real picture, drawn turned
    EXPECT_EQ(b.nEscapement, -900);
    EXPECT_EQ(Snapshots(), snapshots + 1);
}

TEST(CanvasLayout, ChoosesTheCanvasSizeAndZoomsBackAndForth) {
    QWidget frame;
    frame.resize(1050, 650);
    testing::TempDir temp;
    auto* canvas = new CLabelCanvas(SnapshotStore(temp.Path()), nullptr);
    RulerPlacement told;
    QObject::connect(canvas, &CLabelCanvas::placementChanged, [&](const RulerPlacement& p) { told = p; });
    canvas->Create(&frame, 50, 80);
    EXPECT_EQ(canvas->size(), QSize(375, 600));  // only the height is limited
    EXPECT_EQ((std::array{told.viewWidth, told.labelHeightMM, told.rulerStep}), (std::array{375, 80, 10}));
    canvas->Zoom(30);
    EXPECT_EQ(canvas->size(), QSize(405, 648));
    EXPECT_EQ(told.viewHeight, 648);
    for (int i = 0; i < 40; ++i) {
        canvas->Zoom(-30);
    }
    EXPECT_GT(canvas->m_nViewWidth, 0);  // the lower bound keeps every scale finite
    canvas->SetLabelSize(20, 10);        // fits twice: two pixels per dot
    EXPECT_EQ(canvas->size(), QSize(320, 160));
}

// A right click selects everything under it and runs the menu of each text, picture and barcode
// there in turn; a command of the first menu that deletes an element skips the menus of the rest.
TEST_F(CanvasTest, RightClickRunsTheMenusOfTheElementsUnderIt) {
    Put(Box(ElementKind::Shape, 300, 100, 10, 10));
    Element& text = Put(Box(ElementKind::Text, 10, 10, 100, 40));
    Put(Box(ElementKind::Picture, 50, 20, 100, 100));
    Element dense = Box(ElementKind::Barcode, 0, 0, 280, 200);
    dense.nSymbology = kSymbologyCode128;
    std::strcpy(dense.str, "123456789012345678901234567890");  // 200 modules
    Element& barcode = Put(dense);
    std::vector<std::string> titles;
    std::function<QAction*(QMenu&)> choose = [](QMenu&) { return nullptr; };  // dismissed
    canvas->SetMenuRunner([&](QMenu& menu) {
        titles.push_back(menu.title().toStdString());
        return choose(menu);
    });
    RightClick(At(60, 30));
    EXPECT_EQ(test::SelectedFlags(Elements()), (std::vector<int>{0, 1, 1, 1}));
    EXPECT_EQ(titles, (std::vector<std::string>{"Text Attributes", "Piture Settings", "Barcode"}));
    titles.clear();
    choose = [](QMenu& menu) { return menu.actions().front(); };
    RightClick(At(160, 180));  // the barcode only: Fit to Dots sets its whole dot width, once
    RightClick(At(160, 180));
    EXPECT_EQ(test::SelectedFlags(Elements()), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(titles, (std::vector<std::string>{"Barcode", "Barcode"}));
    EXPECT_EQ(QSize(barcode.nWidth, barcode.nHeight), QSize(200, 200));
    EXPECT_EQ(Snapshots(), 1);  // already fitted the second time: nothing to undo

    // Text Attributes works on the context element's font; Cancel leaves it.
    choose = [](QMenu& menu) { return menu.actions().back(); };
    dialogs.accept = false;
    RightClick(At(20, 20));
    EXPECT_EQ(text.lfFont.lfWeight, 0);
    dialogs.accept = true;
    RightClick(At(20, 20));
    EXPECT_EQ(text.lfFont.lfWeight, 700);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"font", "font"}));

    choose = [](QMenu& menu) { return menu.actions().front(); };  // "Delte Text"
    titles.clear();
    RightClick(At(60, 30));
    EXPECT_EQ(titles, (std::vector<std::string>{"Text Attributes"}));
    ASSERT_EQ(Elements().size(), 1u);
    EXPECT_EQ(Snapshots(), 2);
    // The context element no longer names anything: the commands do nothing.
    canvas->EditTextAttributes();
    canvas->ChangePictureSize();
    EXPECT_EQ(dialogs.calls.size(), 2u);
}

// A double click opens the dialog of each selected element under the pointer; a changed barcode is
// encoded anew, and undoing to a label without a symbol drops its cached drawing.
TEST_F(CanvasTest, DoubleClickOpensTheDialogOfEachSelectedElementUnderThePointer) {
    Element barcode = Box(ElementKind::Barcode, 10, 10, 200, 60, true);
    barcode.nSymbology = kSymbologyCode128;
    std::strcpy(barcode.str, "ABC");
    Element& b = Put(barcode);
    ASSERT_NE(b.hImage, 0u);  // encoded by the paint
    Put(Box(ElementKind::Text, 20, 20, 50, 20, true));
    Put(Box(ElementKind::Shape, 20, 20, 50, 20, false));
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, At(30, 30));
    Paint();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"barcode", "text"}));
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_EQ(canvas->Symbols().Size(), 1u);  // the old symbol went, the repaint encoded anew
    dialogs.accept = false;
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, At(30, 30));
    EXPECT_EQ(Snapshots(), 2);
    canvas->StepUndo(-1);
    EXPECT_EQ(Elements().size(), 3u);
    EXPECT_EQ(canvas->Symbols().Size(), 0u);  // restored records start without a symbol
    canvas->StepUndo(-1);
    EXPECT_TRUE(Elements().empty());  // before the first snapshot
}

}  // namespace
}  // namespace etiqo
