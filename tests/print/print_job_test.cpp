// The print job end to end: a label goes through the real print service into a ZPL job, which is
// read back dot by dot.
#include <gtest/gtest.h>

#include <QFile>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "model/TextCodec.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/LabelPrintJob.h"

namespace etiqo {
namespace {

using test::CupsdRig;

const std::string kQueue = CupsdRig::kQueue;

QString Options() {
    return CupsdRig::Lpoptions(QString::fromStdString(kQueue));
}

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override { CupsdRig::ClearUserOptions(); }

    CupsPrinterConfig printers;
    CupsSpooler spooler;
    LabelPrintJob job{printers, spooler, test::DrawBoxes};
};

TEST_F(PrintJobTest, OneLabelIsOnePageOfExactlyTheLabelSizeAtThePrintersResolution) {
    Label label = test::MakeTextLabel(50, 30, "HELLO");
    label.m_nDpiX = label.m_nDpiY = 300;  // replaced by the printer's
    const PrintResult result = job.Print(label, kQueue, 1);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(label.m_nDpiX, 203);
    EXPECT_EQ(label.m_nDpiY, 203);
    EXPECT_EQ(label.m_strPrinterName, kQueue);

    const QByteArray zpl = test::WaitForQueueOutput(result.jobId);
    EXPECT_TRUE(zpl.contains("~DGR:CUPS.GRF,12000,50,"));
    const auto pages = test::DecodeZplJob(zpl);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].printWidth, 400);
    EXPECT_EQ(pages[0].graphic.size(), QSize(400, 240));
    EXPECT_EQ(pages[0].quantity, 1);

    // Dot for dot what the preview shows.
    bool moved = false;
    const QImage expected = RenderLabelPage(label, test::DrawBoxes, moved);
    ASSERT_EQ(expected.size(), QSize(400, 240));
    EXPECT_EQ(pages[0].graphic.convertToFormat(QImage::Format_RGB32),
              expected.convertToFormat(QImage::Format_RGB32));
}

// A driver that does not read CUPS raster gets the page images as a PDF, which its own filters
// turn into what it reads. This sample PostScript driver knows no custom sizes: the job is refused
// until the user says to print anyway, and then comes out on Letter.
TEST_F(PrintJobTest, APrinterWithoutARasterDriverGetsAPdf) {
    const QString output = CupsdRig::Dir() + QStringLiteral("/postscript.out");
    ASSERT_TRUE(test::AddQueue("postscript", output, "drv:///sample.drv/generic.ppd"));
    Label label = test::MakeTextLabel(50, 30, "HELLO");
    PrintResult result = job.Print(label, "postscript", 1);
    EXPECT_EQ(result.status, PrintResult::Status::PaperUnavailable);
    EXPECT_EQ(result.error, "the printer postscript has no 50 × 30 mm paper and takes no custom size of it");
    EXPECT_FALSE(QFile::exists(CupsdRig::UserOptionsFile()));  // no default of a paper it lacks
    job.AllowUnavailablePaper(true);
    result = job.Print(label, "postscript", 1);
    ASSERT_TRUE(result) << result.error;
    CupsSpooler waiter;
    EXPECT_EQ(waiter.WaitForJob(result.jobId, std::chrono::seconds(60)), JobEnd::Completed)
        << waiter.LastError();
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray postscript = file.readAll();
    EXPECT_TRUE(postscript.startsWith("%!PS"));
    EXPECT_TRUE(postscript.contains("%%Title: (docname)")) << postscript.left(600).constData();
    EXPECT_TRUE(postscript.contains("%%Pages: 1")) << postscript.right(300).constData();
    EXPECT_FALSE(CupsdRig::Lpoptions(QStringLiteral("postscript")).contains(QStringLiteral("media=")));
    test::RemoveQueue("postscript");
}

TEST_F(PrintJobTest, CopiesWithoutSerialNumbersAreMadeByThePrinter) {
    Label label = test::MakeTextLabel(50, 30, "SAME");
    const PrintResult result = job.Print(label, kQueue, 3);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.pages, 1);
    EXPECT_EQ(result.deviceCopies, 3);
    const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].quantity, 3);

    // The label's paper and the copies are now the user's defaults for the printer.
    const QString options = Options();
    EXPECT_TRUE(options.contains(QStringLiteral("media=Custom.50x30mm"))) << options.toStdString();
    EXPECT_TRUE(options.contains(QStringLiteral("copies=3"))) << options.toStdString();
}

TEST_F(PrintJobTest, SerialNumbersPrintOnePagePerCopyAndKeepCounting) {
    Label label = test::MakeTextLabel(50, 30, "A-009", kSerialIncrement);
    const PrintResult result = job.Print(label, kQueue, 3);
    ASSERT_TRUE(result) << result.error;
    EXPECT_TRUE(result.serialsMoved);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(ContentUtf8(*label.m_elements[0]), "A-012");

    const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
    ASSERT_EQ(pages.size(), 3u);
    for (const auto& page : pages) {
        EXPECT_EQ(page.quantity, 1);
    }
    EXPECT_NE(pages[0].graphic, pages[1].graphic);
    EXPECT_NE(pages[1].graphic, pages[2].graphic);
    EXPECT_TRUE(Options().contains(QStringLiteral("copies=1")));
}

TEST_F(PrintJobTest, ASecondJobOfTheSameSizeLeavesThePrinterDefaultsAlone) {
    Label label = test::MakeTextLabel(50, 30, "ONE");
    PrintResult result = job.Print(label, kQueue, 2);
    ASSERT_TRUE(result) << result.error;
    test::WaitForQueueOutput(result.jobId);

    CupsdRig::MarkUserOptions();  // any rewrite of the stored defaults drops the mark
    result = job.Print(label, kQueue, 2);
    ASSERT_TRUE(result) << result.error;
    test::WaitForQueueOutput(result.jobId);
    EXPECT_TRUE(CupsdRig::UserOptionsMarked());

    // A new size changes the paper again.
    label.SetLabelSize(40, 20);
    result = job.Print(label, kQueue, 2);
    ASSERT_TRUE(result) << result.error;
    EXPECT_FALSE(CupsdRig::UserOptionsMarked());
    EXPECT_TRUE(Options().contains(QStringLiteral("media=Custom.40x20mm")));
    const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].printWidth, 320);
    EXPECT_EQ(pages[0].graphic.height(), 160);
}

TEST_F(PrintJobTest, AListedPaperOfTheLabelSizeIsUsedAsItIs) {
    Label label = test::MakeTextLabel(50, 80, "LISTED");
    const PrintResult result = job.Print(label, kQueue, 1);
    ASSERT_TRUE(result) << result.error;
    EXPECT_TRUE(Options().contains(QStringLiteral("media=custom_50.09x80.08mm")));
    const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(result.jobId));
    ASSERT_EQ(pages.size(), 1u);
    bool moved = false;
    const QImage expected = RenderLabelPage(label, test::DrawBoxes, moved);
    // The paper is a fraction of a dot wider than the label: the label's dots are all there.
    const QImage printed = pages[0].graphic.copy(0, 0, expected.width(), expected.height());
    EXPECT_EQ(printed.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

TEST_F(PrintJobTest, NothingIsPrintedOrChangedForNoCopiesOrAnUnknownPrinter) {
    Label label = test::MakeTextLabel(50, 30, "X");
    PrintResult result = job.Print(label, kQueue, 0);
    EXPECT_EQ(result.status, PrintResult::Status::NothingToPrint);
    EXPECT_FALSE(QFile::exists(CupsdRig::UserOptionsFile()));

    result = job.Print(label, "no-such-printer", 1);
    EXPECT_EQ(result.status, PrintResult::Status::PrinterUnavailable);
    EXPECT_EQ(result.error, "no printer named no-such-printer");
    EXPECT_EQ(label.m_nDpiX, 203);
}

}  // namespace
}  // namespace etiqo
