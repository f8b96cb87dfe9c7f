// The print job end to end: labels go through the real print service into ZPL jobs, which are read
// back dot by dot; the printer's stored defaults are read as lpoptions shows them; batches print
// files in order, each its own job on its own printer; the preview dialog prints and shows the page.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"
#include "print/BatchPrint.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsRasterDocument.h"
#include "print/CupsSpooler.h"
#include "print/DrawLabel.h"
#include "print/LabelPreview.h"
#include "print/LabelPrintJob.h"
#include "print/PaperForms.h"
#include "render/SymbolCache.h"

namespace etiqo {
namespace {

using test::CupsdRig;
using Status = PrintResult::Status;

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override { CupsdRig::ClearUserOptions(); }

    CupsPrinterConfig printers;
    CupsSpooler spooler;
    LabelPrintJob job{printers, spooler, test::DrawBoxes};
};

TEST(PaperForms, NamesAndSizes) {
    EXPECT_EQ(CustomMediaName(50, 30), "Custom.50x30mm");
    EXPECT_EQ(PaperFormName(50, 30), "HPaper(50mm x 30mm)");
    const std::tuple<const char*, PaperSizeMM, const char*> cases[] = {
        // media, its size in whole millimetres, as shown
        {"Custom.50x30mm", {50, 30}, "HPaper(50mm x 30mm)"},
        {"iso_a4_210x297mm", {210, 297}, "iso_a4_210x297mm"},
        {"A4", {210, 297}, "A4"},
        {"w144h72", {50, 25}, "w144h72"},  // 2 × 1 in: 50.8 × 25.4 mm, truncated as the spooler does
        {"custom_50.09x80.08mm_50.09x80.08mm", {50, 80}, "custom_50.09x80.08mm_50.09x80.08mm"},
        {"na_index-4x6_4x6in", {101, 152}, "na_index-4x6_4x6in"},
        {"thermal", {0, 0}, "thermal"},
        {"", {0, 0}, ""},
    };
    for (const auto& [media, mm, shown] : cases) {
        SCOPED_TRACE(media);
        EXPECT_EQ(ToWholeMM(MediaSizeOf(media)), mm);
        EXPECT_EQ(MediaDisplayName(media), shown);
    }
    EXPECT_EQ(MediaDescription("Custom.50x30mm"), "50 x 30 mm (HPaper(50mm x 30mm))");
    EXPECT_EQ(MediaDescription("thermal"), "");
    EXPECT_EQ(PwgMediaName("Custom.50x80mm"), "custom_50x80mm_50x80mm");
    EXPECT_EQ(PwgMediaName("iso_a4_210x297mm"), "iso_a4_210x297mm");
    EXPECT_TRUE(IsPaperOfSize({5009, 8008}, 50, 80));
    EXPECT_FALSE(IsPaperOfSize({5080, 2540}, 50, 25));  // 50.8 mm is not a 50 mm paper
    EXPECT_FALSE(IsPaperOfSize({4999, 3000}, 50, 30));
}

// The rows print one after another, each starting from the defaults the row before left.
TEST_F(PrintJobTest, EachPageIsThePreviewDotForDotAndThePaperAndCopiesBecomeTheDefaults) {
    const std::tuple<const char*, int, int, int, int, int, int, const char*, bool> rows[] = {
        // name, label size, serial mode, copies; pages in the ZPL job and ^PQ of each; options lpoptions
        // shows afterwards ("-" before one it does not); whether the stored defaults were rewritten
        {"one label", 50, 30, 0, 1, 1, 1, "media=Custom.50x30mm PageSize=Custom.50x30mm copies=1", true},
        {"copies made by the printer", 50, 30, 0, 3, 1, 3, "copies=3", true},
        {"the same job again", 50, 30, 0, 3, 1, 3, "copies=3", false},
        {"serial numbers: a page each", 50, 30, kSerialIncrement, 3, 3, 1, "copies=1", true},
        {"a new size", 40, 20, 0, 1, 1, 1, "media=Custom.40x20mm", true},
        {"a listed paper", 50, 80, 0, 1, 1, 1, "media=custom_50.09x80.08mm -PageSize=Custom", true},
    };
    for (const auto& [name, width, height, serialMode, copies, pageCount, quantity, options, rewritten] :
         rows) {
        SCOPED_TRACE(name);
        Label label = test::MakeTextLabel(width, height, "A-009", serialMode);
        label.m_nDpiX = label.m_nDpiY = 300;  // replaced by the printer's
        Label preview = test::MakeTextLabel(width, height, "A-009", serialMode);
        CupsdRig::MarkUserOptions();  // any rewrite of the stored defaults drops the mark
        const PrintResult result = job.Print(label, CupsdRig::kQueue, copies);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(QSize(label.m_nDpiX, label.m_nDpiY), QSize(203, 203));
        EXPECT_EQ(result.serialsMoved, serialMode != 0);

        const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
        ASSERT_EQ(pages.size(), static_cast<std::size_t>(pageCount));
        for (const test::PrintedPage& page : pages) {
            bool moved = false;
            const QImage expected =
                RenderLabelPage(preview, test::DrawBoxes, moved).convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(page.width, expected.width());  // the paper: a listed one may be a dot longer
            EXPECT_EQ(page.quantity, quantity);
            EXPECT_EQ(page.graphic.convertToFormat(QImage::Format_RGB32).copy(expected.rect()), expected);
        }
        EXPECT_EQ(ContentUtf8(*label.m_elements[0]), ContentUtf8(*preview.m_elements[0]));  // counted on
        EXPECT_EQ(printers.GetPrinterPaperSize(CupsdRig::kQueue), (PaperSizeMM{width, height}));
        const QString defaults = CupsdRig::Lpoptions(QString::fromLatin1(CupsdRig::kQueue));
        for (const QString& option : QString::fromLatin1(options).split(QLatin1Char(' '))) {
            EXPECT_EQ(defaults.contains(option.mid(option.startsWith('-'))), !option.startsWith('-'))
                << option.toStdString() << " in " << defaults.toStdString();
        }
        EXPECT_EQ(CupsdRig::UserOptionsMarked(), !rewritten);
    }
}

// A PostScript printer: its driver reads PDF through its own filters and knows no custom sizes.
TEST_F(PrintJobTest, AJobThatCannotGoOutChangesNothingUnlessThePaperIsAllowed) {
    const QString postscript =
        QStringLiteral("-p postscript -E -v file:///dev/null -m drv:///sample.drv/generic.ppd");
    ASSERT_EQ(test::Run("lpadmin", postscript.split(QLatin1Char(' '))).status, 0);
    const std::tuple<const char*, int, Status, const char*> rows[] = {
        // printer, copies, result
        {CupsdRig::kQueue, 0, Status::NothingToPrint, ""},
        {"no-such-printer", 1, Status::PrinterUnavailable, "no printer named no-such-printer"},
        {"postscript", 1, Status::PaperUnavailable,
         "the printer postscript has no 50 × 30 mm paper and takes no custom size of it"},
    };
    for (const auto& [printer, copies, status, error] : rows) {
        Label label = test::MakeTextLabel(50, 30, "X");
        label.m_nDpiX = 300;
        const PrintResult result = job.Print(label, printer, copies);
        EXPECT_EQ(result.status, status) << printer;
        EXPECT_EQ(result.error, error);
        EXPECT_EQ(label.m_nDpiX, 300);
        EXPECT_FALSE(QFile::exists(CupsdRig::Dir("home/.cups/lpoptions")));
    }
    // A printer gone between choosing it and sending the job gets no raster document nor defaults.
    EXPECT_FALSE(CupsRasterDocument::ForPrinter("no-such-printer", {}).has_value());
    EXPECT_FALSE(printers.SetPrinterPaperSize("no-such-printer", 50, 30));
    EXPECT_FALSE(printers.SetPrinterCopies("no-such-printer", 2));

    // Printed anyway at the user's word: the driver chooses the paper, the defaults keep theirs.
    job.AllowUnavailablePaper(true);
    Label label = test::MakeTextLabel(50, 30, "X");
    const PrintResult result = job.Print(label, "postscript", 1);
    EXPECT_TRUE(result) << result.error;
    EXPECT_FALSE(CupsdRig::Lpoptions(QStringLiteral("postscript")).contains(QStringLiteral("media=")));
    test::Run("lpadmin", {"-x", "postscript"});
}

// Batches: files in order, each its own job on its own printer, unreadable files listed, the user
// asked once for a printer, cancel keeps the rest queued.
TEST_F(PrintJobTest, ABatchPrintsEveryReadableFileInOrderOnItsOwnPrinter) {
    QTemporaryDir folder;
    // A label file of the given size naming the printer; with no size, a file that is no label.
    const auto write = [&folder](const char* name, const std::string& printer = {}, int w = 50, int h = 30) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        Label label = test::MakeTextLabel(w, h, name);
        label.m_strPrinterName = printer;
        QFile junk(path);
        EXPECT_TRUE(w > 0 ? SaveLabelFile(label, path.toStdString()).ok
                          : junk.open(QIODevice::WriteOnly) && junk.write("not a label") > 0);
        return path.toStdString();
    };
    Label canvas = test::MakeTextLabel(80, 50, "CANVAS");
    std::deque<std::string> queue{
        write("a.lab", "zpl"),      write("bad.lab", {}, 0),           write("b.lab", "second", 40, 20),
        write("c.lab", "", 30, 20), write("y.lab", "no-such-printer"), write("d.lab", "", 30, 25)};
    int asked = 0;
    std::vector<int> progress;
    BatchHooks hooks;
    hooks.askPrinter = [&asked]() -> std::optional<std::string> {
        ++asked;
        return "zpl";
    };
    hooks.progress = [&progress](int done, int total, const std::string&) {
        progress.push_back(done * 10 + total);
        return true;
    };
    const BatchReport report = RunBatch(canvas, queue, job, hooks);

    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(progress, (std::vector<int>{6, 16, 26, 36, 46, 56, 66}));  // done, of 6
    EXPECT_EQ(report.unreadable.size() + report.notPrinted.size(), 2u);
    EXPECT_NE(report.unreadable.at(0).find("bad.lab"), std::string::npos);
    EXPECT_NE(report.notPrinted.at(0).find("y.lab: no printer named no-such-printer"), std::string::npos);
    EXPECT_EQ(report.printed, 4);
    std::vector<std::string> printersUsed;
    for (std::size_t i = 0; i < report.jobs.size(); ++i) {
        printersUsed.push_back(report.jobs[i].printer);
        EXPECT_GT(report.jobs[i].jobId, i > 0 ? report.jobs[i - 1].jobId : 0);  // queued in order
        EXPECT_EQ(spooler.WaitForJob(report.jobs[i].jobId, std::chrono::seconds(30)), JobEnd::Completed);
    }
    EXPECT_EQ(printersUsed, (std::vector<std::string>{"zpl", "second", "zpl", "zpl"}));
    // Each job is its own file's label: b.lab's 40 × 20 mm on the second printer, d.lab's last.
    const auto second = test::DecodeZplJob(CupsdRig::ReadQueueOutput(QStringLiteral("second")));
    EXPECT_EQ(second.at(0).graphic.size(), QSize(320, 160));
    EXPECT_EQ(canvas.m_nLabelWidthMM, 30);

    // With no printer chosen a file naming none is skipped; cancel keeps the rest queued.
    hooks.progress = nullptr;
    hooks.askPrinter = [] { return std::optional<std::string>(); };
    queue = {write("x.lab")};
    EXPECT_NE(RunBatch(canvas, queue, job, hooks).notPrinted.at(0).find("x.lab: no printer chosen"),
              std::string::npos);
    queue = {write("one.lab", "zpl"), write("two.lab", "zpl")};
    hooks.progress = [](int done, int, const std::string&) { return done < 1; };
    const BatchReport cancelled = RunBatch(canvas, queue, job, hooks);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.printed, 1);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_NE(queue.front().find("two.lab"), std::string::npos);
}

// The print preview dialog driven as a user would.
class PrintPreviewTest : public ::testing::Test {
protected:
    CPrintPreviewDlg::Canvas MakeCanvas() {
        const auto print = [this](const std::string& printer, int n) { calls.emplace_back(printer, n); };
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
    cupsSetServer(QFile::encodeName(CupsdRig::Dir(QStringLiteral("nobody-listens.sock"))).constData());
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
