// The canvas driven as a user drives it: presses, drags, keys, double clicks and context menus.
#include <QAction>
#include <QImage>
#include <QMenu>

#include <cstring>
#include <fstream>

#include "CanvasFixture.h"
#include "canvas/Arrange.h"
#include "canvas/EditTypes.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

using test::Box;
using test::CanvasTest;
using test::Line;

// Dots to canvas pixels at the fixture's scale of 2.
QPoint At(int xDots, int yDots) {
    return {2 * xDots, 2 * yDots};
}

std::vector<int> Selected(const ElementList& list) {
    std::vector<int> flags;
    for (const auto& e : list) {
        flags.push_back(e->bSelected);
    }
    return flags;
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
    EXPECT_EQ(told.viewWidth, 375);
    EXPECT_EQ(told.labelHeightMM, 80);
    EXPECT_EQ(told.rulerStep, 10);
    canvas->Zoom(30);
    EXPECT_EQ(canvas->size(), QSize(405, 648));
    EXPECT_EQ(told.viewHeight, 648);
    canvas->Zoom(-30);
    EXPECT_EQ(canvas->size(), QSize(375, 600));
    for (int i = 0; i < 40; ++i) {
        canvas->Zoom(-30);
    }
    EXPECT_GT(canvas->m_nViewWidth, 0);  // the lower bound keeps every scale finite
    canvas->SetLabelSize(20, 10);        // fits twice: two pixels per dot
    EXPECT_EQ(canvas->size(), QSize(320, 160));
}

// The widget hands presses to the selection rules with Shift and Ctrl both meaning "add"; plain
// clicks record nothing.
TEST_F(CanvasTest, ClicksSelectAndRecordNothing) {
    Put(Box(ElementKind::Shape, 10, 10, 200, 120));
    Put(Box(ElementKind::Text, 50, 50, 60, 20));
    Put(Box(ElementKind::Picture, 220, 20, 50, 50));
    Put(Line(10, 200, 2 * 100, 2 * 200));
    const struct {
        const char* name;
        QPoint at;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> selected;
    } rows[] = {
        {"text over the shape", At(60, 55), Qt::NoModifier, {0, 1, 0, 0}},
        {"shift adds", At(230, 30), Qt::ShiftModifier, {0, 1, 1, 0}},
        {"ctrl adds the shape around", At(150, 100), Qt::ControlModifier, {1, 1, 1, 0}},
        {"shift on empty keeps", At(240, 140), Qt::ShiftModifier, {1, 1, 1, 0}},
        {"line on its extension", At(150, 200), Qt::NoModifier, {0, 0, 0, 1}},
        {"empty clears", At(240, 140), Qt::NoModifier, {0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Click(row.at, row.modifiers);
        EXPECT_EQ(Selected(Elements()), row.selected);
    }
    EXPECT_EQ(Snapshots(), 0);
}

TEST_F(CanvasTest, ACreatingToolLastsForOneClick) {
    canvas->SetTool(kToolText);
    Click(At(40, 60));
    ASSERT_EQ(Elements().size(), 1u);
    const Element& text = *Elements()[0];
    EXPECT_EQ(text.nKind, ElementKind::Text);
    EXPECT_EQ(text.nPosX, 40);
    EXPECT_EQ(text.nPosY, 60);
    EXPECT_STREQ(text.str, "Double click to change text");
    EXPECT_GT(text.nWidth, 0);  // measured at its first paint
    EXPECT_EQ(text.bSelected, 1);
    EXPECT_EQ(canvas->m_nTool, kToolSelect);
    EXPECT_EQ(Snapshots(), 1);
    Click(At(200, 200));
    EXPECT_EQ(Elements().size(), 1u);
    EXPECT_EQ(Snapshots(), 1);
}

TEST_F(CanvasTest, EachToolShowsItsCursor) {
    canvas->SetTool(kToolLine);
    EXPECT_EQ(canvas->cursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(canvas->cursor().hotSpot(), QPoint(5, 5));
    canvas->SetTool(kToolText);
    EXPECT_EQ(canvas->cursor().hotSpot(), QPoint(0, 0));
    canvas->SetTool(kToolRectangle);
    EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
    canvas->SetTool(12);  // a style button: the cursor stays
    EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
    Element& e = Put(Box(ElementKind::Shape, 100, 100, 60, 40, true));
    canvas->SetTool(kToolSelect);
    Move(GripPoint(e, 6));
    EXPECT_EQ(canvas->cursor().shape(), Qt::SizeVerCursor);
    Move(GripPoint(e, 2));
    EXPECT_EQ(canvas->cursor().shape(), Qt::SizeBDiagCursor);
    Move(At(300, 50));
    EXPECT_EQ(canvas->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CanvasTest, ARectangleClickMakesACentredSquareKeptOnTheLabel) {
    canvas->SetTool(kToolRectangle);
    Click(At(200, 150));
    canvas->SetTool(kToolRectangle);
    Click(At(10, 20));
    ASSERT_EQ(Elements().size(), 2u);
    const Element& centred = *Elements()[0];
    EXPECT_EQ(centred.nPosX, 150);
    EXPECT_EQ(centred.nPosY, 100);
    EXPECT_EQ(centred.nWidth, 100);
    EXPECT_EQ(centred.nHeight, 100);
    EXPECT_EQ(Elements()[1]->nPosX, 0);
    EXPECT_EQ(Elements()[1]->nPosY, 0);
    EXPECT_EQ(Selected(Elements()), (std::vector<int>{0, 1}));
    EXPECT_EQ(Snapshots(), 4);  // each creation and each spanning release
    canvas->SetTool(kToolRectangle);
    Drag(At(20, 30), At(120, 90), 3);  // a drag spans the shape instead
    ASSERT_EQ(Elements().size(), 3u);
    EXPECT_EQ(Elements()[2]->nPosX, 20);
    EXPECT_EQ(Elements()[2]->nWidth, 100);
    EXPECT_EQ(Elements()[2]->nHeight, 60);
}

TEST_F(CanvasTest, DrawingALineAndDraggingOneOfItsEnds) {
    canvas->SetTool(kToolLine);
    Press(At(20, 20));
    for (const QPoint p : {At(22, 21), At(60, 40), At(100, 60)}) {
        Move(p, Qt::LeftButton);
    }
    Release(At(100, 60));
    ASSERT_EQ(Elements().size(), 1u);
    Element& line = *Elements()[0];
    // The line was drawn: one end stayed at the press point, the other followed the pointer.
    const QPoint start(2 * line.nPosX, 2 * line.nPosY);
    const QPoint end(line.nEndX, line.nEndY);
    EXPECT_EQ(std::min(start, end, [](QPoint a, QPoint b) { return a.x() < b.x(); }), At(20, 20));
    EXPECT_EQ(std::max(start, end, [](QPoint a, QPoint b) { return a.x() < b.x(); }), At(100, 60));

    // Hovering within 4 pixels of the end point arms it; the drag moves that end only.
    const QPoint other = start.x() > end.x() ? start : end;
    const QPoint fixed = start.x() > end.x() ? end : start;
    const int before = Snapshots();
    Move(other + QPoint(3, -3));
    EXPECT_EQ(canvas->m_nTool, kToolLineEnd);
    Press(other + QPoint(3, -3));
    Move(At(150, 120), Qt::LeftButton);
    Release(At(150, 120));
    const QPoint movedStart(2 * line.nPosX, 2 * line.nPosY);
    const QPoint movedEnd(line.nEndX, line.nEndY);
    EXPECT_TRUE((movedStart == fixed && movedEnd == At(150, 120)) ||
                (movedEnd == fixed && movedStart == At(150, 120)));
    EXPECT_EQ(Snapshots(), before + 2);  // the press with the end armed, and the release
    EXPECT_EQ(canvas->m_nTool, kToolSelect);
}

TEST_F(CanvasTest, DraggingTwoElementsTakesOneSnapshotPerStep) {
    Element& a = Put(Box(ElementKind::Text, 10, 10, 40, 20, true));
    Element& b = Put(Picture(100, 50, 40, 40));
    Click(At(110, 60), Qt::ShiftModifier);
    ASSERT_EQ(Selected(Elements()), (std::vector<int>{1, 1}));
    Press(At(110, 60), Qt::ShiftModifier);
    Move(At(115, 62), Qt::LeftButton);
    Move(At(120, 64), Qt::LeftButton);
    Move(At(130, 70), Qt::LeftButton);
    Release(At(130, 70));
    EXPECT_EQ(a.nPosX, 30);
    EXPECT_EQ(a.nPosY, 20);
    EXPECT_EQ(b.nPosX, 120);
    EXPECT_EQ(b.nPosY, 60);
    EXPECT_EQ(Snapshots(), 3);
    EXPECT_EQ(a.nOrgPosX, 30);  // committed at the release

    // A resize takes no snapshot while it drags, and exactly one at its release.
    Click(At(120, 70));
    const QPoint grip = GripPoint(b, 7);
    Move(grip);
    Press(grip);
    Move(grip + QPoint(10, 10), Qt::LeftButton);
    Move(grip + QPoint(20, 20), Qt::LeftButton);
    EXPECT_EQ(Snapshots(), 3);
    Release(grip + QPoint(20, 20));
    EXPECT_EQ(Snapshots(), 4);
    EXPECT_EQ(b.nWidth, 50);
    EXPECT_EQ(b.nHeight, 50);
}

TEST_F(CanvasTest, TheBarcodeTopGripStopsAboveTheMinimumBarHeight) {
    Element barcode = Box(ElementKind::Barcode, 50, 50, 300, 80, true);
    barcode.nSymbology = kSymbologyCode128;
    barcode.nMinBarHeight = 15;
    std::strcpy(barcode.str, "12345");
    Element& e = Put(barcode);
    const QPoint from = GripPoint(e, 1);
    Move(from);
    Press(from);
    Move(from + QPoint(0, 40), Qt::LeftButton);  // 20 dots lower: 60 left
    EXPECT_EQ(e.nHeight, 60);
    Move(from + QPoint(0, 100), Qt::LeftButton);  // 30 would not stay above 35
    Release(from + QPoint(0, 100));
    EXPECT_EQ(e.nHeight, 60);
    EXPECT_EQ(e.nPosY, (from.y() + 40) / 2);
}

// Dragged past both opposite edges, a box is drawn and caught where it now lies.
TEST_F(CanvasTest, ASqueezedElementIsStillDrawnAndCaught) {
    Element& e = Put(Box(ElementKind::Shape, 100, 50, 60, 40, true));
    const QPoint from = GripPoint(e, 7);
    Drag(from, from - QPoint(200, 160));  // 100 dots left and 80 up
    EXPECT_EQ(e.nWidth, -40);
    EXPECT_EQ(e.nHeight, -40);
    Put(Box(ElementKind::Shape, 300, 200, -40, 20));  // past one edge only
    Click(At(300, 250));
    EXPECT_EQ(e.bSelected, 0);
    Click(At(80, 30));  // inside the box as it now lies
    EXPECT_EQ(e.bSelected, 1);
    const QImage shown = canvas->grab().toImage();
    EXPECT_EQ(shown.pixelColor(At(60, 10) + QPoint(1, 0)), QColor(Qt::black));  // its outline
}

// Placing and aligning record nothing; turning records one snapshot, and none without a selection.
TEST_F(CanvasTest, ArrangingAndTurning) {
    Element& a = Put(Box(ElementKind::Text, 100, 10, 20, 20, true));
    Put(Box(ElementKind::Text, 30, 10, 20, 20, true));
    canvas->AlignElement(AlignMode::Left);
    EXPECT_EQ(a.nPosX, 30);
    canvas->PositionElement(PositionMode::Top);
    EXPECT_EQ(a.nPosY, 0);
    EXPECT_EQ(Snapshots(), 0);
    canvas->DeselectAll();
    Element& e = Put(Picture(100, 50, 100, 40, true));  // a real file, drawn turned
    canvas->RotateSelection(-900);
    EXPECT_EQ(e.nEscapement, -900);
    EXPECT_EQ(Snapshots(), 1);
    // Hit-tested as 2700: the turned box reaches above the upright one.
    Click(At(300, 300));
    Click(At(150, 30));
    EXPECT_EQ(e.bSelected, 1);
    canvas->DeselectAll();
    canvas->RotateSelection(900);
    EXPECT_EQ(Snapshots(), 1);  // nothing selected, nothing recorded
}

// Arrow keys nudge without a snapshot; Delete removes every selected element with one.
TEST_F(CanvasTest, KeysNudgeAndDelete) {
    Element& e = Put(Box(ElementKind::Text, 20, 0, 40, 20, true));
    Put(Box(ElementKind::Shape, 20, 40, 40, 20));
    Put(Line(0, 0, 100, 100, true));
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Up);
    EXPECT_EQ(e.nPosY, -1);
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_EQ(e.nPosX, 21);
    EXPECT_EQ(Snapshots(), 0);
    QTest::keyClick(canvas, Qt::Key_Delete);
    ASSERT_EQ(Elements().size(), 1u);
    EXPECT_EQ(Elements()[0]->nKind, ElementKind::Shape);
    EXPECT_EQ(Snapshots(), 1);
    QTest::keyClick(canvas, Qt::Key_Backspace);  // nothing selected
    EXPECT_EQ(Elements().size(), 1u);
    EXPECT_EQ(Snapshots(), 1);
}

struct MenuSeen {
    std::string title;
    std::vector<std::string> items;
};

TEST_F(CanvasTest, RightClickOpensTheMenusOfTheTextsAndPicturesUnderIt) {
    Put(Box(ElementKind::Text, 10, 10, 100, 40));
    Put(Box(ElementKind::Picture, 50, 20, 100, 100));
    Put(Box(ElementKind::Barcode, 0, 0, 300, 200));
    std::vector<MenuSeen> seen;
    canvas->SetMenuRunner([&](QMenu& menu) -> QAction* {
        MenuSeen m{menu.title().toStdString(), {}};
        for (QAction* a : menu.actions()) {
            m.items.push_back(a->text().toStdString());
        }
        seen.push_back(m);
        return nullptr;  // dismissed
    });
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(60, 30));
    EXPECT_EQ(Selected(Elements()), (std::vector<int>{1, 1, 1}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].title, "Text Attributes");
    EXPECT_EQ(seen[0].items, (std::vector<std::string>{"Delte Text", "Text Attributes"}));
    EXPECT_EQ(seen[1].title, "Piture Settings");
    EXPECT_EQ(seen[1].items, (std::vector<std::string>{"Delete Picture", "Change Picture Size"}));
    EXPECT_EQ(seen[2].title, "Barcode");
    EXPECT_EQ(seen[2].items, (std::vector<std::string>{"Fit to Dots"}));
    EXPECT_EQ(canvas->m_nCurElement, 2);

    SetChineseInterface(true);
    seen.clear();
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(20, 20));
    SetChineseInterface(false);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].items, (std::vector<std::string>{"删除文字", "文字属性"}));
    EXPECT_EQ(seen[1].items, (std::vector<std::string>{"适配整点宽度"}));

    seen.clear();
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(250, 180));  // the barcode only
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Barcode");
    EXPECT_EQ(Selected(Elements()), (std::vector<int>{0, 0, 1}));
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(400, 250));
    EXPECT_EQ(Selected(Elements()), (std::vector<int>{0, 0, 0}));
}

TEST_F(CanvasTest, FitToDotsFromTheBarcodeMenuSetsTheWholeDotWidthOnce) {
    Element dense = Box(ElementKind::Barcode, 10, 10, 280, 100);
    dense.nSymbology = kSymbologyCode128;
    std::strcpy(dense.str, "123456789012345678901234567890");  // 200 modules
    Element& b = Put(dense);
    canvas->SetMenuRunner([](QMenu& menu) { return menu.actions().front(); });
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(20, 20));
    EXPECT_EQ(b.nWidth, 200);
    EXPECT_EQ(b.nHeight, 100);
    EXPECT_EQ(Snapshots(), 1);
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(20, 20));
    EXPECT_EQ(Snapshots(), 1);  // already fitted: nothing to undo
}

TEST_F(CanvasTest, DeletingFromTheFirstMenuSkipsTheMenuOfAnElementItRemoved) {
    Put(Box(ElementKind::Shape, 300, 100, 10, 10));
    Put(Box(ElementKind::Text, 10, 10, 100, 40));
    Put(Box(ElementKind::Picture, 50, 20, 100, 100));
    int menus = 0;
    canvas->SetMenuRunner([&](QMenu& menu) {
        ++menus;
        return menu.actions().front();  // "Delte Text"
    });
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(60, 30));
    EXPECT_EQ(menus, 1);
    ASSERT_EQ(Elements().size(), 1u);
    EXPECT_EQ(Snapshots(), 1);
    // The context element no longer names anything: the commands do nothing.
    canvas->EditTextAttributes();
    canvas->ChangePictureSize();
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(CanvasTest, TextAttributesWorkOnTheContextElementsFont) {
    Element& text = Put(Box(ElementKind::Text, 10, 10, 100, 40));
    canvas->SetMenuRunner([](QMenu& menu) { return menu.actions().back(); });
    dialogs.accept = false;
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(20, 20));
    EXPECT_EQ(text.lfFont.lfWeight, 0);  // Cancel leaves it
    dialogs.accept = true;
    QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, At(20, 20));
    EXPECT_EQ(text.lfFont.lfWeight, 700);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"font", "font"}));
    EXPECT_EQ(Snapshots(), 0);
}

TEST_F(CanvasTest, DoubleClickOpensTheDialogOfEachSelectedElementUnderThePointer) {
    Element barcode = Box(ElementKind::Barcode, 10, 10, 200, 60, true);
    barcode.nSymbology = kSymbologyCode128;
    std::strcpy(barcode.str, "ABC");
    Element& b = Put(barcode);
    ASSERT_NE(b.hImage, 0u);  // encoded by the paint
    Put(Box(ElementKind::Text, 20, 20, 50, 20, true));
    Put(Box(ElementKind::Shape, 20, 20, 50, 20, false));
    dialogs.edit = [](Element& e) { e.nPosX += 1; };
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, At(30, 30));
    Paint();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"barcode", "text"}));
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_EQ(canvas->Symbols().Size(), 1u);  // the old symbol went, the repaint encoded anew
    dialogs.accept = false;
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, At(30, 30));
    EXPECT_EQ(Snapshots(), 2);
}

TEST_F(CanvasTest, UndoDropsTheSymbolsOfRecordsThatAreGone) {
    Element code = Box(ElementKind::Code2D, 10, 10, 100, 100, true);
    code.nSymbology = kSymbologyQrCode;
    std::strcpy(code.str, "hello");
    Put(code);
    canvas->SaveSnapshot();
    EXPECT_EQ(canvas->Symbols().Size(), 1u);
    canvas->StepUndo(-1);
    EXPECT_TRUE(Elements().empty());
    EXPECT_EQ(canvas->Symbols().Size(), 0u);
    canvas->StepUndo(1);
    Paint();
    EXPECT_EQ(canvas->Symbols().Size(), 1u);
}

TEST_F(CanvasTest, PicturesComeFromAChosenFile) {
    const auto png = m_temp / "logo.png";
    QImage(40, 10, QImage::Format_RGB32).save(QString::fromStdString(png.string()));
    QString chosen = QString::fromStdString(png.string());
    canvas->SetPictureFileChooser([&](QWidget*) { return chosen; });

    canvas->SetTool(kToolPicture);
    Click(At(30, 40));
    ASSERT_EQ(Elements().size(), 1u);
    const Element& picture = *Elements()[0];
    EXPECT_EQ(picture.nKind, ElementKind::Picture);
    EXPECT_EQ(picture.nWidth, 100);
    EXPECT_EQ(picture.nHeight, 25);
    EXPECT_EQ(picture.nImageWidth, 40);
    EXPECT_STREQ(picture.str, png.string().c_str());
    EXPECT_TRUE(messages.empty());

    const auto text = m_temp / "notes.txt";
    std::ofstream(text) << "not a picture";
    chosen = QString::fromStdString(text.string());
    canvas->SetTool(kToolPicture);
    Click(At(30, 40));
    EXPECT_EQ(Elements().size(), 1u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("notes.txt"), std::string::npos);

    // A real picture whose path does not fit in the record: refused, since a cut path would
    // name another file.
    const auto deep = m_temp / std::string(120, 'd') / std::string(120, 'e');
    std::filesystem::create_directories(deep);
    const auto far = deep / "logo.png";
    ASSERT_TRUE(std::filesystem::copy_file(png, far));
    chosen = QString::fromStdString(far.string());
    canvas->SetTool(kToolPicture);
    Click(At(30, 40));
    EXPECT_EQ(Elements().size(), 1u);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find("too long"), std::string::npos);

    chosen.clear();  // cancelled
    canvas->SetTool(kToolPicture);
    Click(At(30, 40));
    EXPECT_EQ(Elements().size(), 1u);
    EXPECT_EQ(canvas->m_nTool, kToolSelect);
}

}  // namespace
}  // namespace etiqo
