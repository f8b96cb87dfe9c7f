// A CUPS label printer driver for every kind of page (to every edge, not at the right, not at top and
// bottom, listed paper only, a Brother QL of printer-driver-ptouch) and driverless printers behind
// IPP Everywhere queues (ippeveprinter taking PWG raster, LPrint sending ZPL to a raw port of the
// test's own), read back from what each printer receives: its dots, the label's dots where CUPS's
// own chain puts the page sent with lp as a PDF, paper, copies, serial numbers and barcodes.
#include <gtest/gtest.h>

#include <array>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsRasterDocument.h"
#include "print/CupsSpooler.h"
#include "print/LabelPdf.h"
#include "print/LabelPreview.h"
#include "print/LabelPrintJob.h"
#include "print/PrintCheck.h"

namespace etiqo {
namespace {

using test::CupsdRig;
using test::PrinterLanguage;
using Pages = std::vector<test::PrintedPage>;

constexpr char kIpp[] = "ipp-pwg";    // ippeveprinter, 203 and 300 dpi, 1 bit or grey
constexpr char kLprint[] = "lp-zpl";  // LPrint's ZPL 2 in printer, 203 dpi
constexpr char kLoaded[] = "50 x 30 mm (custom_50x30mm_50x30mm)";  // what both have loaded

// Queue, language, a label size it has paper for, dpi, and the page in dots as the job states it
// (0 where the language does not say).
const std::tuple<const char*, PrinterLanguage, int, int, int, QSize> kDrivers[] = {
    {"label-zebra", PrinterLanguage::Zpl, 50, 30, 203, {400, 240}},
    {"label-zebracpl", PrinterLanguage::Cpcl, 50, 30, 203, {397, 240}},   // 1 pt at the right is not printed
    {"label-intelbar", PrinterLanguage::Pcl, 50, 30, 300, {591, 306}},    // nor 5.76 pt at top and bottom
    {"label-dymo", PrinterLanguage::Dymo, 54, 70, 300, {624, 825}},       // 2-1/8 × 2-3/4 in paper
    {"label-ql570", PrinterLanguage::PtouchQl, 62, 29, 300, {720, 272}},  // DK 62 × 29 mm
};

// The pages the queue's printer received, once the job is done.
Pages Received(const char* queue, PrinterLanguage language, int jobId) {
    CupsSpooler spooler;
    const JobEnd end = jobId ? spooler.WaitForJob(jobId, std::chrono::seconds(60)) : JobEnd::Completed;
    EXPECT_EQ(end, JobEnd::Completed) << spooler.LastError();
    QFile file(CupsdRig::Dir(QLatin1String(queue) + QStringLiteral(".out")));
    const auto pages =
        file.open(QIODevice::ReadOnly) ? test::DecodePrinterJob(language, file.readAll()) : std::nullopt;
    EXPECT_TRUE(pages.has_value()) << "the job is not well-formed";
    return pages.value_or(Pages{});
}

// The job ippeveprinter kept, once the queue says it is done.
Pages IppJob(int jobId) {
    EXPECT_EQ(CupsSpooler().WaitForJob(jobId, std::chrono::seconds(60)), JobEnd::Completed);
    const QDir spool(CupsdRig::Dir(QStringLiteral("ipp-pwg-spool")));
    QStringList jobs;
    for (int i = 0; i < 100 && jobs.isEmpty(); ++i) {  // written as the printer takes it in
        QThread::msleep(i ? 50 : 0);
        jobs = spool.entryList({"*.pwg"}, QDir::Files);
    }
    QFile file(spool.filePath(jobs.value(0)));
    const QByteArray data =
        jobs.size() == 1 && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (const QString& job : jobs) {
        QFile::remove(spool.filePath(job));  // the next job's file is the only one
    }
    return test::DecodePrinterJob(PrinterLanguage::Pwg, data).value_or(Pages{});
}

class DriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString standin = QStringLiteral(ETIQO_BINARY_DIR "/tests/print/libavahi_standin.so");
        s_drivers = CupsdRig::Script(QStringLiteral("drivers")).value_or(QString());
        s_started =
            CupsdRig::Script(
                QStringLiteral("ipp"),
                {kIpp, QStringLiteral(ETIQO_SOURCE_DIR "/tests/print/ipp-label-printer.conf"), standin}) &&
            CupsdRig::Script(
                QStringLiteral("lprint"),
                {kLprint, QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener"), standin});
    }
    static void TearDownTestSuite() {
        for (const QString& line : s_drivers.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            test::Run("lpadmin", {"-x", line.section(QLatin1Char(' '), 0, 0)});
        }
        test::Run("lpadmin", {"-x", kIpp});
        test::Run("lpadmin", {"-x", kLprint});
    }
    void SetUp() override {
        ASSERT_TRUE(s_started);
        CupsdRig::ClearUserOptions();
    }

    inline static QString s_drivers;  // the rig's "queue driver" lines
    inline static bool s_started = false;
    QTemporaryDir folder;
    CupsPrinterConfig printers;
    CupsSpooler spooler;
};

TEST_F(DriverTest, EveryLabelDriverPrintsDotForDotWhereCupsPutsThePageWithCopiesAndSerials) {
    for (const auto& [queue, language, widthMM, heightMM, dpi, statedDots] : kDrivers) {
        SCOPED_TRACE(queue);
        ASSERT_TRUE(s_drivers.contains(QLatin1String(queue) + QLatin1Char(' ')));
        // A frame on the label's edges and a box inside: the edges show what the printer cuts.
        Label label = test::MakeTextLabel(widthMM, heightMM, "FRAMED");
        label.m_nDpiX = label.m_nDpiY = dpi;
        const QSize dots = LabelSizeInDots(label);
        Element frame = MakeShapeElement(0, 0);
        frame.nWidth = dots.width();
        frame.nHeight = dots.height();
        frame.bSelected = 0;
        label.Append(frame);

        LabelPrintJob job(printers, spooler, test::DrawBoxes);
        const PrintResult ours = job.Print(label, queue, 2);
        ASSERT_TRUE(ours) << ours.error;
        EXPECT_EQ(label.m_nDpiX, dpi);
        const Pages printed = Received(queue, language, ours.jobId);
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(QSize(printed[0].width, printed[0].height), statedDots);
        int labels = 0;  // the copies, by the printer or as repeated pages
        for (const auto& page : printed) {
            EXPECT_EQ(page.graphic, printed[0].graphic);
            labels += page.quantity;
        }
        EXPECT_EQ(labels, 2);

        // The same page as a PDF through CUPS's own chain, with the job's own paper options.
        bool moved = false;
        const QImage page = RenderLabelPage(label, test::DrawBoxes, moved);
        const PaperForm paper = printers.FindOrAddPaperForm(queue, widthMM, heightMM);
        ASSERT_TRUE(paper.available);
        const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
        ASSERT_TRUE(WriteLabelPdf(pdf, PdfPageSetup{{paper.exactWidth100, paper.exactHeight100}, dpi, dpi}, 1,
                                  [&](int) { return page; }));
        QStringList lp{"-d", queue, "-o", QStringLiteral("media=") + QString::fromStdString(paper.media)};
        if (!paper.pageSize.empty()) {
            lp << "-o" << QStringLiteral("PageSize=") + QString::fromStdString(paper.pageSize);
        }
        const auto id = QRegularExpression(QStringLiteral("-(\\d+) ")).match(test::Run("lp", lp << pdf).out);
        ASSERT_TRUE(id.hasMatch());
        const Pages theirs = Received(queue, language, id.captured(1).toInt());
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(QSize(theirs[0].width, theirs[0].height), statedDots);
        EXPECT_EQ(printed[0].graphic.convertToFormat(QImage::Format_RGB32),
                  theirs[0].graphic.convertToFormat(QImage::Format_RGB32));

        // Serial numbers: every page its own number, each printed once, its barcode readable.
        const QString file = test::SaveSerialCodeLabel(folder.path(), widthMM, heightMM, "ETQ-009");
        const test::ProgramRun run =
            test::RunEtiqo({"print", file, "--printer", queue, "--copies", "3", "--wait"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const Pages pages = Received(queue, language, 0);
        ASSERT_EQ(pages.size(), 3u);
        QStringList codes;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].quantity, 1);
            codes +=
                test::ReadBarcodes(pages[i].graphic, folder.filePath(QStringLiteral("page%1.png").arg(i)));
        }
        EXPECT_EQ(codes, (QStringList{"ETQ-009", "ETQ-010", "ETQ-011"}));
    }
    // The EPL queues have the ZPL queue's page, but CUPS's filter prints their copy count once.
    for (const char* epl : {"label-zebraep1", "label-zebraep2"}) {
        EXPECT_FALSE(CupsRasterDocument::ForPrinter(epl, {}).value().DriverMakesCopies()) << epl;
    }
}

// Label sizes are whole millimetres, label stock mostly inches: a paper is the label's when it rounds
// to it, and goes by the printer's own name; a size the printer cannot take is refused before
// anything is stored or sent.
TEST_F(DriverTest, PapersAreTheDriversOwnAndSizesItCannotTakeAreRefused) {
    const std::tuple<const char*, int, int, bool, const char*, int, int, int, int> cases[] = {
        // queue, label size, the paper: available, its name, hundredths of a millimetre it cannot
        // print at the left, top, right and bottom
        {"label-dymo", 54, 70, true, "custom_53.98x69.85mm_53.98x69.85mm", 71, 526, 71, 526},
        {"label-dymo", 50, 30, false, "Custom.50x30mm", 0, 0, 0, 0},  // no custom sizes
        {"label-intelbar", 50, 30, true, "Custom.50x30mm", 0, 203, 0, 203},
        {"label-ql570", 62, 29, true, "custom_62.09x28.93mm_62.09x28.93mm", 152, 296, 152, 296},
        {"label-zebra", 50, 30, true, "Custom.50x30mm", 0, 0, 0, 0},
        {"label-zebra", 210, 30, false, "Custom.210x30mm", 0, 0, 0, 0},  // wider than its 8 in
        {"label-zebra", 50, 80, true, "custom_50.09x80.08mm_50.09x80.08mm", 0, 0, 0, 0},  // its 142 x 227 pt
        {"label-zebra", 101, 152, true, "Custom.101x152mm", 0, 0, 0, 0},  // 4 x 6 in is 101.6 mm: not it
    };
    for (const auto& [queue, w, h, available, media, left, top, right, bottom] : cases) {
        SCOPED_TRACE(std::string(queue) + " " + std::to_string(w) + "x" + std::to_string(h));
        const PaperForm paper = printers.FindOrAddPaperForm(queue, w, h);
        EXPECT_EQ(paper.available, available);
        EXPECT_EQ(paper.media, media);
        EXPECT_EQ(paper.pageSize, paper.custom ? media : "");  // a PPD driver's custom page is exact
        EXPECT_EQ((std::array{paper.marginLeft100, paper.marginTop100, paper.marginRight100,
                              paper.marginBottom100}),
                  (std::array{left, top, right, bottom}));
        EXPECT_EQ(printers.SetPrinterPaperSize(queue, w, h), available);
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
TEST_F(DriverTest, ThePreviewShadesAndTheDesignerWarnsWhereThePrinterCannotPrint) {
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

// Through the IPP queue to the printer: one bit a dot at the queue's 300 dpi, dot for dot what the
// label draws, every page repeated as the printer makes no copies, and every job of a label naming
// the label's exact size, serialized or not.
TEST_F(DriverTest, TheDriverlessPrinterGetsTheLabelsDotsOnItsExactPaper) {
    const std::tuple<const char*, int, int, bool, int, const char*> cases[] = {
        // name, width, height, serialized, copies, the paper the job names
        {"serialized 50 x 30, the printer's own paper", 50, 30, true, 2, "custom_50x30mm_50x30mm"},
        {"plain 50 x 30", 50, 30, false, 3, "custom_50x30mm_50x30mm"},
        {"serialized 50 x 80, a custom size", 50, 80, true, 2, "custom_50x80mm_50x80mm"},
        {"plain 50 x 80 names the same", 50, 80, false, 1, "custom_50x80mm_50x80mm"},
        {"plain 60 x 40", 60, 40, false, 2, "custom_60x40mm_60x40mm"},
    };
    LabelPrintJob job(printers, spooler, test::DrawBoxes);
    for (const auto& [name, w, h, serialized, copies, media] : cases) {
        SCOPED_TRACE(name);
        Label label = test::MakeTextLabel(w, h, "PWG-0007", serialized ? kSerialIncrement : 0);
        const PrintResult result = job.Print(label, kIpp, copies);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(label.m_nDpiX, 300);  // the queue's choice among the printer's 203 and 300 dpi
        const Pages pages = IppJob(result.jobId);
        ASSERT_EQ(pages.size(), static_cast<std::size_t>(copies));
        SetContent(*label.m_elements[0], "PWG-0007", Overflow::Refuse);
        for (const auto& page : pages) {
            bool moved = false;
            EXPECT_EQ(page.bitsPerDot, 1);
            EXPECT_EQ(page.quantity, 1);
            EXPECT_EQ(page.media, media);
            EXPECT_EQ(page.graphic.convertToFormat(QImage::Format_RGB32),
                      RenderLabelPage(label, test::DrawBoxes, moved).convertToFormat(QImage::Format_RGB32));
        }
    }
}

// Both driverless printers report a 50 x 30 mm roll: `etiqo printers` and the preview show it, and
// a label of another size is warned about before printing. A driver's queue tells nothing.
TEST_F(DriverTest, TheLoadedMediaIsShownAndCheckedBeforePrinting) {
    EXPECT_EQ(printers.LoadedMedia(kIpp), "custom_50x30mm_50x30mm");
    EXPECT_EQ(printers.LoadedMedia(kLprint), "custom_50x30mm_50x30mm");
    EXPECT_EQ(printers.LoadedMedia(CupsdRig::kQueue), "");

    Label label = test::MakeTextLabel(60, 40, "WIDER");
    EXPECT_EQ(CheckBeforePrinting(printers, label, kIpp).warnings,
              std::vector<std::string>{"the printer ipp-pwg has 50 x 30 mm (custom_50x30mm_50x30mm) loaded, "
                                       "not the label's 60 × 40 mm"});
    EXPECT_TRUE(CheckBeforePrinting(printers, test::MakeTextLabel(50, 30, "FITS"), kLprint).warnings.empty());

    // Each printer a line: the default marked, its paper, resolution and model, what it has loaded.
    const test::ProgramRun run = test::RunEtiqo({"printers"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral(
        "\\* zpl +101 x 127 mm \\(custom_4x5in_4x5in\\) +203 dpi +Zebra ZPL Label Printer\n"))))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n  second ")));
    for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const bool driverless =
            line.startsWith(QStringLiteral("  ipp-pwg ")) || line.startsWith(QStringLiteral("  lp-zpl "));
        EXPECT_EQ(line.endsWith(QStringLiteral("loaded: ") + QLatin1String(kLoaded)), driverless)
            << line.toStdString();
    }

    CPrintPreviewDlg dialog({label, test::DrawBoxes, QSize(600, 400), {}, {}}, printers);
    auto* list = dialog.findChild<QComboBox*>();
    auto* loaded = dialog.findChild<QLabel*>(QStringLiteral("loadedLine"));
    ASSERT_TRUE(list && loaded);
    list->setCurrentIndex(list->findText(QLatin1String(kIpp)));
    EXPECT_EQ(loaded->text(), QStringLiteral("loaded: ") + QLatin1String(kLoaded));
    list->setCurrentIndex(list->findText(QLatin1String(CupsdRig::kQueue)));
    EXPECT_TRUE(loaded->text().isEmpty());
}

// LPrint takes Apple raster from its queue and sends ZPL to the port: every serial number once, in
// order, its barcode readable.
TEST_F(DriverTest, LPrintPrintsEverySerialNumberInOrder) {
    const QString file = test::SaveSerialCodeLabel(folder.path(), 50, 30, "LP-0001");
    const test::ProgramRun run =
        test::RunEtiqo({"print", file, "--printer", kLprint, "--copies", "3", "--wait"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    // LPrint also asks the printer for its status over the port: the job is the file with graphics.
    Pages pages;
    for (int i = 0; i < 100 && pages.size() < 3; ++i) {
        pages.clear();
        for (const QString& job : CupsdRig::JobFiles(QLatin1String(kLprint), 1)) {
            QFile data(job);
            for (test::PrintedPage& page :
                 test::DecodeZplJob(data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray())) {
                pages.push_back(std::move(page));
            }
        }
        QThread::msleep(pages.size() < 3 ? 100 : 0);
    }
    ASSERT_EQ(pages.size(), 3u);
    QStringList codes;
    for (const test::PrintedPage& page : pages) {
        EXPECT_EQ(page.quantity, 1);
        EXPECT_NEAR(page.graphic.width(), 400, 8);  // 50 mm at 203 dpi, in whole bytes
        codes += test::ReadBarcodes(page.graphic, folder.filePath(QStringLiteral("page.png")));
    }
    EXPECT_EQ(codes, (QStringList{"LP-0001", "LP-0002", "LP-0003"}));
}

}  // namespace
}  // namespace etiqo
