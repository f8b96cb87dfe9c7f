// Batch printing through the real print service: files in order, each its own job on its own
// printer, unreadable files listed, the user asked once for a printer, cancel keeps the rest queued.
#include <gtest/gtest.h>

#include <QDir>
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
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    std::string Write(const char* name, int w, int h, const std::string& printer) {
        Label label = test::MakeTextLabel(w, h, name);
        label.m_strPrinterName = printer;
        const std::string path = folder.filePath(QString::fromLatin1(name)).toStdString();
        EXPECT_TRUE(SaveLabelFile(label, path)) << path;
        return path;
    }
    std::string WriteJunk(const char* name) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a label");
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
    return pages.size() == 1 ? QSize(pages[0].printWidth, pages[0].graphic.height()) : QSize();
}

TEST_F(BatchPrintTest, PrintsEveryReadableFileInOrderOnItsOwnPrinter) {
    std::deque<std::string> queue{Write("a.lab", 50, 30, "zpl"), WriteJunk("bad.lab"),
                                  Write("b.lab", 40, 20, "second"), Write("c.lab", 30, 20, ""),
                                  Write("d.lab", 30, 25, "")};
    int asked = 0;
    std::vector<int> progress;
    BatchHooks hooks;
    hooks.askPrinter = [&]() -> std::optional<std::string> {
        ++asked;
        return "zpl";
    };
    hooks.progress = [&](int done, int total, const std::string&) {
        EXPECT_EQ(total, 5);
        progress.push_back(done);
        return true;
    };
    const BatchReport report = RunBatch(canvas, queue, job, hooks);

    EXPECT_TRUE(queue.empty());
    EXPECT_FALSE(report.cancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(report.unreadable.size(), 1u);
    EXPECT_NE(report.unreadable[0].find("bad.lab"), std::string::npos);
    EXPECT_TRUE(report.notPrinted.empty());
    ASSERT_EQ(report.printed, 4);
    ASSERT_EQ(report.jobs.size(), 4u);
    const char* expectedPrinters[] = {"zpl", "second", "zpl", "zpl"};
    for (std::size_t i = 0; i < report.jobs.size(); ++i) {
        EXPECT_EQ(report.jobs[i].printer, expectedPrinters[i]);
        if (i > 0) {
            EXPECT_GT(report.jobs[i].jobId, report.jobs[i - 1].jobId);  // queued in order
        }
        EXPECT_EQ(spooler.WaitForJob(report.jobs[i].jobId, std::chrono::seconds(30)), JobEnd::Completed);
    }
    EXPECT_EQ(LastGraphicOn(QStringLiteral("second")), QSize(320, 160));  // b.lab: 40 × 20 mm
    EXPECT_EQ(LastGraphicOn(QStringLiteral("zpl")), QSize(240, 200));     // d.lab: 30 × 25 mm
    EXPECT_EQ(canvas.m_nLabelWidthMM, 30);  // the last label stays on the canvas
}

TEST_F(BatchPrintTest, CancelStopsBeforeTheNextFileAndKeepsItQueued) {
    std::deque<std::string> queue{Write("one.lab", 50, 30, "zpl"), Write("two.lab", 50, 30, "zpl"),
                                  Write("three.lab", 50, 30, "zpl")};
    BatchHooks hooks;
    hooks.progress = [](int done, int, const std::string&) { return done < 1; };
    const BatchReport report = RunBatch(canvas, queue, job, hooks);
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.printed, 1);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_NE(queue.front().find("two.lab"), std::string::npos);
}

TEST_F(BatchPrintTest, FilesNamingNoPrinterAreSkippedWhenTheUserChoosesNone) {
    std::deque<std::string> queue{Write("x.lab", 50, 30, ""), Write("y.lab", 50, 30, "no-such-printer")};
    BatchHooks hooks;
    hooks.askPrinter = [] { return std::optional<std::string>(); };
    const BatchReport report = RunBatch(canvas, queue, job, hooks);
    EXPECT_EQ(report.printed, 0);
    ASSERT_EQ(report.notPrinted.size(), 2u);
    EXPECT_NE(report.notPrinted[0].find("no printer chosen"), std::string::npos);
    EXPECT_NE(report.notPrinted[1].find("no printer named no-such-printer"), std::string::npos);
}

}  // namespace
}  // namespace etiqo
