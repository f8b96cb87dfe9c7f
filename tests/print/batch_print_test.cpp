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

TEST(BatchPrint, PrintsEveryReadableFileInOrderOnItsOwnPrinter) {
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
    CupsPrinterConfig printers;
    CupsSpooler spooler;
    LabelPrintJob job{printers, spooler, test::DrawBoxes};
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

}  // namespace
}  // namespace etiqo
