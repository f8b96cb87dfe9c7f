// Every label printer driver CUPS ships (and a Brother QL of printer-driver-ptouch), printed to for
// real and read back from what each printer would receive: the page in the printer's dots, the
// label's dots where CUPS's own chain puts the same page sent with lp as a PDF, copies, serial
// numbers and barcodes.
#include <gtest/gtest.h>

#include <array>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "CupsdRig.h"
#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/LabelPdf.h"
#include "print/LabelPreview.h"
#include "print/LabelPrintJob.h"
#include "print/PrintCheck.h"

namespace etiqo {
namespace {

using test::CupsdRig;
using test::PrinterLanguage;

struct DriverCase {
    const char* queue;
    PrinterLanguage language;
    int widthMM, heightMM;  // a label each printer has paper for
    int dpi;
    QSize statedDots;  // the page as the job states it; 0 where the language does not say
};

const DriverCase kDrivers[] = {
    {"label-zebra", PrinterLanguage::Zpl, 50, 30, 203, {400, 240}},
    {"label-zebraep2", PrinterLanguage::Epl2, 50, 30, 203, {400, 0}},
    {"label-zebraep1", PrinterLanguage::EplLine, 50, 30, 203, {0, 240}},
    {"label-zebracpl", PrinterLanguage::Cpcl, 50, 30, 203, {397, 240}},   // 1 pt at the right is not printed
    {"label-intelbar", PrinterLanguage::Pcl, 50, 30, 300, {591, 306}},    // nor 5.76 pt at top and bottom
    {"label-dymo", PrinterLanguage::Dymo, 54, 70, 300, {624, 825}},       // 2-1/8 × 2-3/4 in paper
    {"label-ql570", PrinterLanguage::PtouchQl, 62, 29, 300, {720, 272}},  // DK 62 × 29 mm
};

std::vector<test::PrintedPage> WaitAndDecode(const DriverCase& d, int jobId) {
    CupsSpooler spooler;
    const JobEnd end = spooler.WaitForJob(jobId, std::chrono::seconds(60));
    EXPECT_EQ(end, JobEnd::Completed) << spooler.LastError();
    QFile file(CupsdRig::DriverQueueOutput(QLatin1String(d.queue)));
    if (end != JobEnd::Completed || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const auto pages = test::DecodePrinterJob(d.language, file.readAll());
    EXPECT_TRUE(pages.has_value()) << "the job is not well-formed";
    return pages.value_or(std::vector<test::PrintedPage>{});
}

int Printed(const std::vector<test::PrintedPage>& pages) {
    int labels = 0;
    for (const auto& page : pages) {
        labels += page.copies;
    }
    return labels;
}

// lp of a PDF with the job's own paper options; the job id.
int Lp(const std::string& queue, const QString& pdf, const PaperForm& paper) {
    QStringList arguments{"-d", QString::fromStdString(queue), "-o",
                          QStringLiteral("media=") + QString::fromStdString(paper.media)};
    if (!paper.pageSize.empty()) {
        arguments << QStringLiteral("-o")
                  << QStringLiteral("PageSize=") + QString::fromStdString(paper.pageSize);
    }
    QProcess lp;
    lp.start(QStringLiteral("lp"), arguments << pdf);
    lp.waitForFinished(30000);
    const auto id =
        QRegularExpression(QStringLiteral("-(\\d+) ")).match(QString::fromUtf8(lp.readAllStandardOutput()));
    return id.hasMatch() ? id.captured(1).toInt() : 0;
}

class DriverMatrixTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_queues = CupsdRig::AddDriverQueues(); }
    static void TearDownTestSuite() {
        for (const auto& [queue, driver] : s_queues) {
            test::RemoveQueue(queue.toUtf8().constData());
        }
    }
    void SetUp() override {
        CupsdRig::ClearUserOptions();
        ASSERT_TRUE(folder.isValid());
    }

    static std::vector<std::pair<QString, QString>> s_queues;
    QTemporaryDir folder;
    CupsPrinterConfig printers;
    CupsSpooler spooler;
};

std::vector<std::pair<QString, QString>> DriverMatrixTest::s_queues;

TEST_F(DriverMatrixTest, EveryLabelDriverPrintsDotForDotWhereCupsPutsThePageWithCopiesAndSerials) {
    ASSERT_EQ(s_queues.size(), std::size(kDrivers));
    for (const DriverCase& d : kDrivers) {
        SCOPED_TRACE(d.queue);
        // A frame on the label's edges and a box inside: the edges show what the printer cuts.
        Label label = test::MakeTextLabel(d.widthMM, d.heightMM, "FRAMED");
        label.m_nDpiX = label.m_nDpiY = d.dpi;
        const QSize dots = LabelSizeInDots(label);
        Element frame = MakeShapeElement(0, 0);
        frame.nWidth = dots.width();
        frame.nHeight = dots.height();
        frame.bSelected = 0;
        label.Append(frame);

        LabelPrintJob job(printers, spooler, test::DrawBoxes);
        const PrintResult ours = job.Print(label, d.queue, 2);
        ASSERT_TRUE(ours) << ours.error;
        EXPECT_EQ(label.m_nDpiX, d.dpi);
        const auto printed = WaitAndDecode(d, ours.jobId);
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(QSize(printed[0].width, printed[0].height), d.statedDots);
        EXPECT_EQ(Printed(printed), 2);  // the copies, by the printer or as repeated pages
        for (const auto& page : printed) {
            EXPECT_EQ(page.dots, printed[0].dots);
        }

        // The same page as a PDF through CUPS's own chain.
        bool moved = false;
        const QImage page = RenderLabelPage(label, test::DrawBoxes, moved);
        const PaperForm paper = printers.FindOrAddPaperForm(d.queue, d.widthMM, d.heightMM);
        ASSERT_TRUE(paper.available);
        const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
        ASSERT_TRUE(WriteLabelPdf(pdf,
                                  PdfPageSetup{{paper.exactWidth100, paper.exactHeight100}, d.dpi, d.dpi}, 1,
                                  [&](int) { return page; }));
        const auto theirs = WaitAndDecode(d, Lp(d.queue, pdf, paper));
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(QSize(theirs[0].width, theirs[0].height), d.statedDots);
        EXPECT_EQ(printed[0].dots.size(), theirs[0].dots.size());
        EXPECT_EQ(printed[0].dots.convertToFormat(QImage::Format_RGB32),
                  theirs[0].dots.convertToFormat(QImage::Format_RGB32))
            << "ours and lp's differ; see " << folder.filePath(QStringLiteral("*.png")).toStdString();
        printed[0].dots.save(folder.filePath(QStringLiteral("ours.png")));
        theirs[0].dots.save(folder.filePath(QStringLiteral("lp.png")));

        // Serial numbers: every page its own number, each printed once, its barcode readable.
        const QString file = test::SaveSerialCodeLabel(folder.path(), d.widthMM, d.heightMM, "ETQ-009");
        const test::ProgramRun run =
            test::RunEtiqo({"print", file, "--printer", QLatin1String(d.queue), "--copies", "3", "--wait"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QFile output(CupsdRig::DriverQueueOutput(QLatin1String(d.queue)));
        ASSERT_TRUE(output.open(QIODevice::ReadOnly));
        const auto pages = test::DecodePrinterJob(d.language, output.readAll());
        ASSERT_TRUE(pages.has_value());
        ASSERT_EQ(pages->size(), 3u);
        QStringList codes;
        for (std::size_t i = 0; i < pages->size(); ++i) {
            EXPECT_EQ((*pages)[i].copies, 1);
            codes +=
                test::ReadBarcodes((*pages)[i].dots, folder.filePath(QStringLiteral("page%1.png").arg(i)));
        }
        EXPECT_EQ(codes, (QStringList{"ETQ-009", "ETQ-010", "ETQ-011"}));
    }
}

// Label sizes are whole millimetres, label stock mostly inches: a paper is the label's when it rounds
// to it, and goes by the printer's own name; a size the printer cannot take is refused before
// anything is stored or sent.
TEST_F(DriverMatrixTest, PapersAreTheDriversOwnAndSizesItCannotTakeAreRefused) {
    struct Case {
        const char* queue;
        int w, h;
        bool available;
        const char* media;
        int left, top, right, bottom;  // hundredths of a millimetre it cannot print
    };
    const Case cases[] = {
        {"label-dymo", 54, 70, true, "custom_53.98x69.85mm_53.98x69.85mm", 71, 526, 71, 526},
        {"label-dymo", 50, 30, false, "Custom.50x30mm", 0, 0, 0, 0},  // no custom sizes
        {"label-intelbar", 50, 30, true, "Custom.50x30mm", 0, 203, 0, 203},
        {"label-ql570", 62, 29, true, "custom_62.09x28.93mm_62.09x28.93mm", 152, 296, 152, 296},
        {"label-zebra", 50, 30, true, "Custom.50x30mm", 0, 0, 0, 0},
        {"label-zebra", 210, 30, false, "Custom.210x30mm", 0, 0, 0, 0},  // wider than its 8 in
        {"label-zebra", 50, 80, true, "custom_50.09x80.08mm_50.09x80.08mm", 0, 0, 0, 0},  // its 142 x 227 pt
        {"label-zebra", 101, 152, true, "Custom.101x152mm", 0, 0, 0, 0},  // 4 x 6 in is 101.6 mm: not it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " " + std::to_string(c.w) + "x" + std::to_string(c.h));
        const PaperForm paper = printers.FindOrAddPaperForm(c.queue, c.w, c.h);
        EXPECT_EQ(paper.available, c.available);
        EXPECT_EQ(paper.media, c.media);
        EXPECT_EQ(paper.pageSize, paper.custom ? c.media : "");  // a PPD driver's custom page is exact
        EXPECT_EQ((std::array{paper.marginLeft100, paper.marginTop100, paper.marginRight100,
                              paper.marginBottom100}),
                  (std::array{c.left, c.top, c.right, c.bottom}));
        EXPECT_EQ(printers.SetPrinterPaperSize(c.queue, c.w, c.h), c.available);
    }
    EXPECT_FALSE(CupsdRig::Lpoptions(QStringLiteral("label-dymo")).contains(QStringLiteral("50x30")));

    // What the user sees: a clear refusal, nothing printed.
    Label label = test::MakeTextLabel(50, 30, "TOO WIDE");
    const QString file = folder.filePath(QStringLiteral("wide.lab"));
    ASSERT_TRUE(SaveLabelFile(label, file.toStdString()));
    const test::ProgramRun run = test::RunEtiqo({"print", file, "--printer", "label-dymo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral(
        "etiqo: the printer label-dymo has no 50 × 30 mm paper and takes no custom size of it")))
        << run.err.toStdString();
}

// The QL driver cannot print 8.4 pt at the top and bottom of its tape: the preview greys those
// edges over the label and the designer hears of an element lying there before printing.
TEST_F(DriverMatrixTest, ThePreviewShadesAndTheDesignerWarnsWhereThePrinterCannotPrint) {
    Label label = test::MakeTextLabel(62, 29, "EDGE");
    label.m_elements[0]->nPosY = 10;  // within the top 2.96 mm: 35 dots at 300 dpi
    PrintCheck check = CheckBeforePrinting(printers, label, "label-ql570");
    ASSERT_EQ(check.warnings.size(), 1u);
    EXPECT_EQ(check.warnings[0],
              "parts of the label lie where the printer label-ql570 cannot print (3.0 mm at the top, "
              "3.0 at the bottom, 1.5 at the left, 1.5 at the right)");
    label.m_elements[0]->nPosY = 40;
    EXPECT_TRUE(CheckBeforePrinting(printers, label, "label-ql570").warnings.empty());
    EXPECT_TRUE(
        CheckBeforePrinting(printers, label, "label-zebra").warnings.empty());  // prints to every edge
    label.SetLabelSize(50, 30);
    check = CheckBeforePrinting(printers, label, "label-dymo");
    EXPECT_TRUE(check.paperUnavailable);
    EXPECT_EQ(check.warnings.size(), 1u);

    label = test::MakeTextLabel(62, 29, "EDGE");
    CPrintPreviewDlg dialog({label, test::DrawBoxes, QSize(620, 290), {}, {}}, printers);
    dialog.resize(700, 500);
    auto* list = dialog.findChild<QComboBox*>();
    auto* preview = dialog.findChild<LabelPreview*>();
    ASSERT_TRUE(list && preview);
    list->setCurrentIndex(list->findText(QStringLiteral("label-ql570")));
    EXPECT_NEAR(preview->Unprintable().top(), 296 / 2900.0, 1e-9);
    EXPECT_NEAR(preview->Unprintable().left(), 152 / 6200.0, 1e-9);
    const QImage shot = preview->grab().toImage();
    const QRect area = LabelPreview::PreviewRect(preview->size(), QSize(620, 290));
    EXPECT_LT(qGray(shot.pixel(area.center().x(), area.top() + 2)), 200);  // greyed edge
    EXPECT_EQ(QColor(shot.pixel(area.center())), QColor(Qt::white));       // printable
    list->setCurrentIndex(list->findText(QStringLiteral("label-zebra")));
    EXPECT_TRUE(preview->Unprintable().isNull());
}

}  // namespace
}  // namespace etiqo
