// Driverless label printers behind IPP Everywhere queues (lpadmin -m everywhere): ippeveprinter
// taking PWG raster and keeping every job as a file, and an LPrint ZPL printer sending to a raw
// port of the test's own. What each printer received is decoded (dots, paper, copies, serial
// numbers, barcodes), and what each says is loaded is shown and checked before printing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "CupsdRig.h"
#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "model/Serial.h"
#include "model/TextCodec.h"
#include "print/CPrintPreviewDlg.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/LabelPrintJob.h"
#include "print/PrintCheck.h"

namespace etiqo {
namespace {

using test::CupsdRig;

constexpr char kIpp[] = "ipp-pwg";    // ippeveprinter, 203 and 300 dpi, 1 bit or grey
constexpr char kLprint[] = "lp-zpl";  // LPrint's ZPL 2 in printer, 203 dpi
constexpr char kLoaded[] = "50 x 30 mm (custom_50x30mm_50x30mm)";  // what both have loaded

class DriverlessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString standin = QStringLiteral(ETIQO_BINARY_DIR "/tests/print/libavahi_standin.so");
        s_started = CupsdRig::Script(
                        QStringLiteral("ipp"),
                        {QLatin1String(kIpp),
                         QStringLiteral(ETIQO_SOURCE_DIR "/tests/print/ipp-label-printer.conf"), standin})
                        .has_value() &&
                    CupsdRig::Script(QStringLiteral("lprint"),
                                     {QLatin1String(kLprint),
                                      QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener"), standin})
                        .has_value();
    }
    static void TearDownTestSuite() {
        test::RemoveQueue(kIpp);
        test::RemoveQueue(kLprint);
    }
    void SetUp() override {
        ASSERT_TRUE(s_started);
        CupsdRig::ClearUserOptions();
    }

    static bool s_started;
    CupsPrinterConfig printers;
    CupsSpooler spooler;
};

bool DriverlessTest::s_started = false;

// The job ippeveprinter kept, once the queue says it is done.
std::optional<std::vector<test::PrintedPage>> IppJob(CupsSpooler& spooler, int jobId) {
    EXPECT_EQ(spooler.WaitForJob(jobId, std::chrono::seconds(60)), JobEnd::Completed) << spooler.LastError();
    const QDir spool(CupsdRig::Dir() + QStringLiteral("/ipp-pwg-spool"));
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
    return test::DecodePrinterJob(test::PrinterLanguage::Pwg, data);
}

// Through the queue to the printer: one bit a dot at the queue's 300 dpi, dot for dot what the
// label draws, every page repeated as the printer makes no copies, and every job of a label naming
// the label's exact size, serialized or not.
TEST_F(DriverlessTest, ThePrinterGetsTheLabelsDotsOnItsExactPaper) {
    struct Case {
        const char* name;
        int w, h;
        bool serialized;
        int copies;
        const char* media;
    };
    const Case cases[] = {
        {"serialized 50 x 30, the printer's own paper", 50, 30, true, 2, "custom_50x30mm_50x30mm"},
        {"plain 50 x 30", 50, 30, false, 3, "custom_50x30mm_50x30mm"},
        {"serialized 50 x 80, a custom size", 50, 80, true, 2, "custom_50x80mm_50x80mm"},
        {"plain 50 x 80 names the same", 50, 80, false, 1, "custom_50x80mm_50x80mm"},
        {"plain 60 x 40", 60, 40, false, 2, "custom_60x40mm_60x40mm"},
    };
    LabelPrintJob job(printers, spooler, test::DrawBoxes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Label label = test::MakeTextLabel(c.w, c.h, "PWG-0007", c.serialized ? kSerialIncrement : 0);
        const PrintResult result = job.Print(label, kIpp, c.copies);
        ASSERT_TRUE(result) << result.error;
        EXPECT_EQ(label.m_nDpiX, 300);  // the queue's choice among the printer's 203 and 300 dpi
        const auto pages = IppJob(spooler, result.jobId);
        ASSERT_TRUE(pages.has_value());
        ASSERT_EQ(pages->size(), static_cast<std::size_t>(c.copies));
        SetContent(*label.m_elements[0], "PWG-0007", Overflow::Refuse);
        for (const auto& page : *pages) {
            bool moved = false;
            EXPECT_EQ(page.bitsPerDot, 1);
            EXPECT_EQ(page.copies, 1);
            EXPECT_EQ(page.media, c.media);
            EXPECT_EQ(page.dots.convertToFormat(QImage::Format_RGB32),
                      RenderLabelPage(label, test::DrawBoxes, moved).convertToFormat(QImage::Format_RGB32));
        }
    }
}

// Both printers report a 50 x 30 mm roll: `etiqo printers` and the preview show it, and a label of
// another size is warned about before printing. A driver's queue tells nothing.
TEST_F(DriverlessTest, TheLoadedMediaIsShownAndCheckedBeforePrinting) {
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
TEST_F(DriverlessTest, LPrintPrintsEverySerialNumberInOrder) {
    QTemporaryDir folder;
    const QString file = test::SaveSerialCodeLabel(folder.path(), 50, 30, "LP-0001");
    const test::ProgramRun run =
        test::RunEtiqo({"print", file, "--printer", QLatin1String(kLprint), "--copies", "3", "--wait"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    // LPrint also asks the printer for its status over the port: the job is the file with graphics.
    std::vector<test::ZplPage> pages;
    for (int i = 0; i < 100 && pages.size() < 3; ++i) {
        pages.clear();
        for (const QString& job : CupsdRig::JobFiles(QLatin1String(kLprint), 1)) {
            QFile data(job);
            if (data.open(QIODevice::ReadOnly)) {
                for (test::ZplPage& page : test::DecodeZplJob(data.readAll())) {
                    pages.push_back(std::move(page));
                }
            }
        }
        QThread::msleep(pages.size() < 3 ? 100 : 0);
    }
    ASSERT_EQ(pages.size(), 3u);
    QStringList codes;
    for (const test::ZplPage& page : pages) {
        EXPECT_EQ(page.quantity, 1);
        EXPECT_NEAR(page.graphic.width(), 400, 8);  // 50 mm at 203 dpi, in whole bytes
        codes += test::ReadBarcodes(page.graphic, folder.filePath(QStringLiteral("page.png")));
    }
    EXPECT_EQ(codes, (QStringList{"LP-0001", "LP-0002", "LP-0003"}));
}

}  // namespace
}  // namespace etiqo
