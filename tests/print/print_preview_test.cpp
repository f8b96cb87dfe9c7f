// The print preview dialog driven as a user would, against the private print service.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/DrawLabel.h"
#include "print/LabelPreview.h"
#include "render/SymbolCache.h"

namespace etiqo {
namespace {

class PrintPreviewTest : public ::testing::Test {
protected:
    CPrintPreviewDlg::Canvas MakeCanvas() {
        const auto print = [this](const std::string& printer, int copies) {
            calls.emplace_back(printer, copies);
        };
        return {label, test::DrawBoxes, QSize(400, 240), print, [this] { ++repaints; }};
    }

    Label label = test::MakeTextLabel(50, 30, "N-01", kSerialIncrement);
    CupsPrinterConfig printers;
    std::vector<std::pair<std::string, int>> calls;  // printer, copies
    int repaints = 0;
};

TEST(LabelPreviewGeometry, FitsTheCanvasAspectIntoTheFrame) {
    const std::tuple<QSize, QSize, QRect> cases[] = {
        // frame, label view, where it is shown
        {{300, 200}, {400, 240}, {10, 19, 280, 168}},  // wider: frame width less 20
        {{300, 200}, {240, 400}, {96, 13, 108, 180}},  // taller: frame height less 20
        {{300, 200}, {300, 300}, {60, 13, 180, 180}},  // square counts as tall
        {{300, 100}, {400, 240}, {83, 13, 133, 80}},   // wide but the frame is wider: height decides
        {{100, 300}, {240, 400}, {10, 86, 80, 133}},   // tall but the frame is taller: width decides
    };
    for (const auto& [frame, view, expected] : cases) {
        EXPECT_EQ(LabelPreview::PreviewRect(frame, view), expected);
    }
}

TEST_F(PrintPreviewTest, SelectsTheDefaultPrinterAndEnterPrintsWithoutClosingWhenThereAreAny) {
    CPrintPreviewDlg dialog(MakeCanvas(), printers);
    dialog.show();
    auto* list = dialog.findChild<QComboBox*>();
    auto* copies = dialog.findChild<QLineEdit*>();
    ASSERT_TRUE(list && copies);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(dialog.SelectedPrinter(), QStringLiteral("zpl"));
    EXPECT_EQ(copies->text(), QStringLiteral("1"));

    QTest::keyClick(&dialog, Qt::Key_Return);  // Enter is Print
    copies->setText(QStringLiteral("3"));
    QTest::keyClick(&dialog, Qt::Key_Return);
    list->setCurrentIndex(list->findText(QStringLiteral("second")));
    copies->clear();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(calls, (std::vector<std::pair<std::string, int>>{{"zpl", 1}, {"zpl", 3}, {"second", 0}}));

    // Without a print service there is nothing to choose and nothing can be printed.
    cupsSetServer((QFile::encodeName(test::CupsdRig::Dir()) + "/nobody-listens.sock").constData());
    CPrintPreviewDlg none(MakeCanvas(), printers);
    cupsSetServer(nullptr);
    EXPECT_TRUE(none.SelectedPrinter().isEmpty());
    EXPECT_TRUE(none.findChild<QLineEdit*>()->text().isEmpty());
    for (auto* button : none.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    }
    QTest::keyClick(&none, Qt::Key_Return);
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(PrintPreviewTest, ShowsThePageOutliningACodeThatWouldNotScanAndEveryPaintCountsOn) {
    Element dense = MakeBarcodeElement(40, 16, "123456789012345678901234567890");
    dense.nWidth = 280;  // 200 modules in 280 dots
    dense.nHeight = 100;
    label.Append(dense);
    SymbolCache symbols;
    CPrintPreviewDlg::Canvas canvas = MakeCanvas();
    canvas.painter = [&symbols](QPainter& p, Label& l) { return DrawLabel(p, l, symbols, {1, 1}); };
    CPrintPreviewDlg dialog(std::move(canvas), printers);
    dialog.resize(500, 400);
    auto* preview = dialog.findChild<LabelPreview*>();
    const auto* line = dialog.findChild<QLabel*>(QStringLiteral("checkLine"));
    ASSERT_TRUE(preview && line);
    const QImage shot = preview->grab().toImage();
    EXPECT_TRUE(line->text().contains(QStringLiteral("element 1 (CODE_128): does not read")))
        << line->text().toStdString();
    // The code's bars black on the label, and the code outlined in red.
    const QRect area = LabelPreview::PreviewRect(preview->size(), QSize(400, 240));
    int dark = 0, red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            dark += area.contains(x, y) && qGray(shot.pixel(x, y)) < 64;
            red += QColor(shot.pixel(x, y)) == QColor(Qt::red);
        }
    }
    EXPECT_GT(dark, area.width() * area.height() / 20);
    EXPECT_GT(red, 100);
    EXPECT_EQ(ContentUtf8(*label.m_elements[0]), "N-02");
    preview->grab();
    EXPECT_EQ(ContentUtf8(*label.m_elements[0]), "N-03");
    EXPECT_EQ(repaints, 2);
}

}  // namespace
}  // namespace etiqo
