// The print job end to end: labels go through the real print service into ZPL jobs, which are read
// back dot by dot; the printer's stored defaults are read as lpoptions shows them.
#include <gtest/gtest.h>

#include <QFile>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "model/TextCodec.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsRasterDocument.h"
#include "print/CupsSpooler.h"
#include "print/LabelPrintJob.h"

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

// The rows print one after another, each starting from the defaults the row before left.
TEST_F(PrintJobTest, EachPageIsThePreviewDotForDotAndThePaperAndCopiesBecomeTheDefaults) {
    struct Row {
        const char* name;
        int width, height, serialMode, copies;
        int pages, quantity;     // pages in the ZPL job, ^PQ of each
        const char* defaults;    // options lpoptions shows afterwards
        bool defaultsRewritten;  // false: the stored defaults were left as they were
    };
    const Row rows[] = {
        {"one label", 50, 30, 0, 1, 1, 1, "media=Custom.50x30mm copies=1", true},
        {"copies made by the printer", 50, 30, 0, 3, 1, 3, "copies=3", true},
        {"the same job again", 50, 30, 0, 3, 1, 3, "copies=3", false},
        {"serial numbers: a page each", 50, 30, kSerialIncrement, 3, 3, 1, "copies=1", true},
        {"a new size", 40, 20, 0, 1, 1, 1, "media=Custom.40x20mm", true},
        {"a listed paper", 50, 80, 0, 1, 1, 1, "media=custom_50.09x80.08mm", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Label label = test::MakeTextLabel(row.width, row.height, "A-009", row.serialMode);
        label.m_nDpiX = label.m_nDpiY = 300;  // replaced by the printer's
        Label preview = test::MakeTextLabel(row.width, row.height, "A-009", row.serialMode);
        CupsdRig::MarkUserOptions();  // any rewrite of the stored defaults drops the mark
        const PrintResult result = job.Print(label, CupsdRig::kQueue, row.copies);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(QSize(label.m_nDpiX, label.m_nDpiY), QSize(203, 203));
        EXPECT_EQ(result.serialsMoved, row.serialMode != 0);

        const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
        ASSERT_EQ(pages.size(), static_cast<std::size_t>(row.pages));
        for (const test::ZplPage& page : pages) {
            bool moved = false;
            const QImage expected =
                RenderLabelPage(preview, test::DrawBoxes, moved).convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(page.printWidth, expected.width());  // the paper: a listed one may be a dot longer
            EXPECT_EQ(page.quantity, row.quantity);
            EXPECT_EQ(page.graphic.convertToFormat(QImage::Format_RGB32).copy(expected.rect()), expected);
        }
        EXPECT_EQ(ContentUtf8(*label.m_elements[0]), ContentUtf8(*preview.m_elements[0]));  // counted on
        const QString defaults = CupsdRig::Lpoptions(QString::fromLatin1(CupsdRig::kQueue));
        for (const QString& option : QString::fromLatin1(row.defaults).split(QLatin1Char(' '))) {
            EXPECT_TRUE(defaults.contains(option)) << defaults.toStdString();
        }
        EXPECT_EQ(CupsdRig::UserOptionsMarked(), !row.defaultsRewritten);
    }
}

// A PostScript printer: its driver reads PDF through its own filters and knows no custom sizes.
TEST_F(PrintJobTest, AJobThatCannotGoOutChangesNothingUnlessThePaperIsAllowed) {
    ASSERT_TRUE(test::AddQueue("postscript", CupsdRig::Dir() + QStringLiteral("/ps.out"),
                               "drv:///sample.drv/generic.ppd"));
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
        EXPECT_FALSE(QFile::exists(CupsdRig::UserOptionsFile()));
    }
    // A printer gone between choosing it and sending the job gets no raster document.
    EXPECT_FALSE(CupsRasterDocument::ForPrinter("no-such-printer", {}).has_value());

    // Printed anyway at the user's word: the driver chooses the paper, the defaults keep theirs.
    job.AllowUnavailablePaper(true);
    Label label = test::MakeTextLabel(50, 30, "X");
    const PrintResult result = job.Print(label, "postscript", 1);
    EXPECT_TRUE(result) << result.error;
    EXPECT_FALSE(CupsdRig::Lpoptions(QStringLiteral("postscript")).contains(QStringLiteral("media=")));
    test::RemoveQueue("postscript");
}

}  // namespace
}  // namespace etiqo
