// Batch printing through the real print service: files in order, each its own job on its own
// printer, unreadable files listed, the user asked once for a printer, cancel keeps the rest queued.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "model/LabelFile.h"
#include "print/BatchPrint.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"

namespace etiqo {
namespace {

using test::CupsdRig;

class BatchPrintTest : public ::testing::Test {
protected:
    // A label file of the given size naming the printer; with no size, a file that is no label.
    std::string Write(const char* name, const std::string& printer = {}, int w = 50, int h = 30) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        Label label = test::MakeTextLabel(w, h, name);
        label.m_strPrinterName = printer;
        QFile junk(path);
        EXPECT_TRUE(w > 0 ? SaveLabelFile(label, path.toStdString()).ok
                          : junk.open(QIODevice::WriteOnly) && junk.write("not a label") > 0);
        return path.toStdString();
    }

    QTemporaryDir folder;
    CupsPrinterConfig printers;
    CupsSpooler spooler;
    LabelPrintJob job{printers, spooler, test::DrawBoxes};
    Label canvas = test::MakeTextLabel(80, 50, "CANVAS");
};

QSize LastGraphicOn(const QString& queue) {
    const auto pages = test::DecodeZplJob(CupsdRig::ReadQueueOutput(queue));
    return pages.size() == 1 ? pages[0].graphic.size() : QSize();
}

TEST_F(BatchPrintTest, PrintsEveryReadableFileInOrderOnItsOwnPrinter) {
    std::deque<std::string> queue{
        Write("a.lab", "zpl"),      Write("bad.lab", {}, 0),           Write("b.lab", "second", 40, 20),
        Write("c.lab", "", 30, 20), Write("y.lab", "no-such-printer"), Write("d.lab", "", 30, 25)};
    int asked = 0;
    std::vector<int> progress;
    BatchHooks hooks;
    hooks.askPrinter = [&asked]() -> std::optional<std::string> {
        ++asked;
        return "zpl";
    };
    hooks.progress = [&progress](int done, int total, const std::string&) {
        EXPECT_EQ(total, 6);
        progress.push_back(done);
        return true;
    };
    const BatchReport report = RunBatch(canvas, queue, job, hooks);

    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(report.unreadable.size(), 1u);
    EXPECT_NE(report.unreadable[0].find("bad.lab"), std::string::npos);
    ASSERT_EQ(report.notPrinted.size(), 1u);
    EXPECT_NE(report.notPrinted[0].find("y.lab: no printer named no-such-printer"), std::string::npos);
    ASSERT_EQ(report.printed, 4);
    ASSERT_EQ(report.jobs.size(), 4u);
    const char* expectedPrinters[] = {"zpl", "second", "zpl", "zpl"};
    for (std::size_t i = 0; i < report.jobs.size(); ++i) {
        EXPECT_EQ(report.jobs[i].printer, expectedPrinters[i]);
        EXPECT_GT(report.jobs[i].jobId, i > 0 ? report.jobs[i - 1].jobId : 0);  // queued in order
        EXPECT_EQ(spooler.WaitForJob(report.jobs[i].jobId, std::chrono::seconds(30)), JobEnd::Completed);
    }
    EXPECT_EQ(LastGraphicOn(QStringLiteral("second")), QSize(320, 160));  // b.lab: 40 × 20 mm
    EXPECT_EQ(LastGraphicOn(QStringLiteral("zpl")), QSize(240, 200));     // d.lab: 30 × 25 mm
    EXPECT_EQ(canvas.m_nLabelWidthMM, 30);  // the last label stays on the canvas
}

TEST_F(BatchPrintTest, WithNoPrinterChosenAFileIsSkippedAndCancelKeepsTheRestQueued) {
    std::deque<std::string> queue{Write("x.lab")};
    BatchHooks hooks;
    hooks.askPrinter = [] { return std::optional<std::string>(); };
    BatchReport report = RunBatch(canvas, queue, job, hooks);
    ASSERT_EQ(report.notPrinted.size(), 1u);
    EXPECT_NE(report.notPrinted[0].find("x.lab: no printer chosen"), std::string::npos);

    queue = {Write("one.lab", "zpl"), Write("two.lab", "zpl")};
    hooks.progress = [](int done, int, const std::string&) { return done < 1; };
    report = RunBatch(canvas, queue, job, hooks);
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.printed, 1);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_NE(queue.front().find("two.lab"), std::string::npos);
}

}  // namespace
}  // namespace etiqo
