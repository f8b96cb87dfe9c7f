// The Data menu of the designer: a source attached to a label is remembered beside it, the canvas
// shows each record's values (read back from the screen by the decoder), and detaching shows the
// references as typed again.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "app/CMainFrame.h"
#include "app/DataMenu.h"
#include "data/SourceFile.h"
#include "dialogs/ContentEdit.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

QString ScreenBarcode(CMainFrame& frame, const QString& png) {
    frame.m_wndCanvas.grab().toImage().save(png);
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {"-q", "--raw", png});
    zbar.waitForFinished(30000);
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

TEST(DataDesigner, AttachStepAndDetach) {
    QTemporaryDir dir;
    const std::string label = dir.filePath("tag.lab").toStdString();
    Label tag;
    tag.SetLabelSize(60, 40);
    Element barcode = MakeBarcodeElement(20, 20, "${sku}");
    barcode.nWidth = 420;
    barcode.nHeight = 160;
    tag.Append(barcode);
    ASSERT_TRUE(SaveLabelFile(tag, label));
    std::ofstream(dir.filePath("items.csv").toStdString()) << "sku,名称\nAB-1,x\nCD-22,y\nEF-333,z\n";

    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(frame.OpenLabelFile(QString::fromStdString(label)));
    auto* data = frame.findChild<CDataMenu*>();
    ASSERT_TRUE(data);
    const QString png = dir.filePath("screen.png");
    EXPECT_EQ(ScreenBarcode(frame, png), "${sku}");  // no source: as typed

    data->AttachFile(dir.filePath("items.csv"));
    EXPECT_EQ(data->Record(), 1);
    EXPECT_EQ(ScreenBarcode(frame, png), "AB-1");
    EXPECT_TRUE(ReadSourceFile(label));
    EXPECT_TRUE(ContentEdit::FieldChoices().contains("${名称}"));
    data->ShowRecord(2);
    EXPECT_EQ(ScreenBarcode(frame, png), "CD-22");
    data->ShowRecord(1000);  // beyond the end: the last record
    EXPECT_EQ(data->Record(), 3);
    EXPECT_EQ(ScreenBarcode(frame, png), "EF-333");
    EXPECT_EQ(ContentUtf8(*frame.m_wndCanvas.GetLabel().m_elements[0]), "${sku}");  // the label keeps it

    data->Detach();
    EXPECT_FALSE(ReadSourceFile(label));
    EXPECT_EQ(ScreenBarcode(frame, png), "${sku}");
    EXPECT_FALSE(ContentEdit::FieldChoices().contains("${名称}"));
    const QStringList menus = [&] {
        QStringList titles;
        for (QAction* action : frame.menuBar()->actions()) {
            titles << action->text();
        }
        return titles;
    }();
    EXPECT_TRUE(menus.contains("Data(&D)"));
}

}  // namespace
}  // namespace etiqo
