// A driverless label printer (ippeveprinter taking PWG raster only, behind an IPP Everywhere queue
// made with lpadmin -m everywhere): its document is PWG raster at the printer's resolution, one
// bit a dot, dot for dot what the preview shows, copies and serial numbers right.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "CupsdRig.h"
#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/Serial.h"
#include "model/TextCodec.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsRasterDocument.h"
#include "print/CupsSpooler.h"
#include "print/LabelPrintJob.h"

namespace etiqo {
namespace {

using test::CupsdRig;

constexpr char kQueue[] = "ipp-pwg";

class DriverlessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QProcess rig;
        rig.start(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"),
                  {QStringLiteral("ipp"), CupsdRig::Dir(), QLatin1String(kQueue),
                   QStringLiteral(ETIQO_SOURCE_DIR "/tests/print/ipp-label-printer.conf"),
                   QStringLiteral(ETIQO_BINARY_DIR "/tests/print/libavahi_standin.so")});
        s_started = rig.waitForFinished(60000) && rig.exitCode() == 0;
        if (!s_started) {
            ADD_FAILURE() << "cupsd-rig.sh ipp: " << rig.readAllStandardError().toStdString();
        }
    }
    static void TearDownTestSuite() { test::RemoveQueue(kQueue); }
    void SetUp() override {
        ASSERT_TRUE(s_started);
        CupsdRig::ClearUserOptions();
    }

    static bool s_started;
    CupsPrinterConfig printers;
    CupsSpooler spooler;
};

bool DriverlessTest::s_started = false;

TEST_F(DriverlessTest, TheLabelIsWrittenAsOneBitPwgRasterDotForDot) {
    Label label = test::MakeTextLabel(50, 30, "PWG-0007", kSerialIncrement);
    const PaperForm paper = printers.FindOrAddPaperForm(kQueue, 50, 30);
    EXPECT_EQ(paper.media, "custom_50x30mm_50x30mm");  // the printer's own name
    const auto raster = CupsRasterDocument::ForPrinter(kQueue, {{"media", paper.media}});
    ASSERT_TRUE(raster.has_value());
    EXPECT_TRUE(raster->IsPwgRaster());
    EXPECT_EQ(raster->DpiX(), 300);  // the queue's choice among the printer's 203 and 300 dpi
    label.m_nDpiX = label.m_nDpiY = raster->DpiX();

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("job.pwg"));
    std::vector<QImage> drawn;
    ASSERT_TRUE(raster->Write(path, 2, 2, [&](int) {
        bool moved = false;
        drawn.push_back(RenderLabelPage(label, test::DrawBoxes, moved));
        return drawn.back();
    }));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    EXPECT_TRUE(data.startsWith("RaS2")) << "not PWG raster";
    const auto pages = test::DecodePrinterJob(test::PrinterLanguage::Pwg, data);
    ASSERT_TRUE(pages.has_value());
    ASSERT_EQ(pages->size(), 4u);  // two serial numbers, each page twice: the printer makes no copies
    for (std::size_t i = 0; i < pages->size(); ++i) {
        EXPECT_EQ((*pages)[i].copies, 1);
        EXPECT_EQ((*pages)[i].bitsPerDot, 1);  // one bit, as the printer offers
        EXPECT_EQ((*pages)[i].dots.convertToFormat(QImage::Format_RGB32),
                  drawn[i / 2].convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_NE((*pages)[0].dots, (*pages)[2].dots);
}

// The same queue's driver sending to a raw port of the test's own: what arrives is what the
// printer would be sent.
TEST_F(DriverlessTest, TheJobArrivesAsPwgRasterWithCopiesAndSerialNumbers) {
    const QString ppd = CupsdRig::Dir() + QStringLiteral("/etc/ppd/ipp-pwg.ppd");
    QTemporaryDir jobs;
    const QString portFile = jobs.filePath(QStringLiteral("port"));
    QProcess listener;
    listener.start(QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener"), {portFile, jobs.path()});
    for (int i = 0; i < 100 && !QFile::exists(portFile); ++i) {
        QThread::msleep(20);
    }
    QFile port(portFile);
    ASSERT_TRUE(port.open(QIODevice::ReadOnly));
    QProcess lpadmin;
    lpadmin.start(
        QStringLiteral("lpadmin"),
        {QStringLiteral("-p"), QStringLiteral("pwg-port"), QStringLiteral("-E"), QStringLiteral("-v"),
         QStringLiteral("socket://127.0.0.1:") + QString::fromLatin1(port.readAll().trimmed()),
         QStringLiteral("-P"), ppd});
    ASSERT_TRUE(lpadmin.waitForFinished(30000) && lpadmin.exitCode() == 0)
        << lpadmin.readAllStandardError().toStdString();
    const auto arrived = [&](int job) {
        const QString path = jobs.filePath(QStringLiteral("job-%1.prn").arg(job));
        for (int i = 0; i < 400 && !QFile::exists(path); ++i) {
            QThread::msleep(25);
        }
        QFile file(path);
        return file.open(QIODevice::ReadOnly)
                   ? test::DecodePrinterJob(test::PrinterLanguage::Pwg, file.readAll())
                   : std::nullopt;
    };

    Label label = test::MakeTextLabel(50, 30, "PWG-0007", kSerialIncrement);
    LabelPrintJob job(printers, spooler, test::DrawBoxes);
    PrintResult result = job.Print(label, "pwg-port", 2);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(label.m_nDpiX, 300);
    auto pages = arrived(1);
    ASSERT_TRUE(pages.has_value());
    ASSERT_EQ(pages->size(), 2u);
    SetContent(*label.m_elements[0], "PWG-0007", Overflow::Refuse);
    for (const auto& page : *pages) {
        bool moved = false;
        EXPECT_EQ(page.bitsPerDot, 1);
        EXPECT_EQ(page.dots.convertToFormat(QImage::Format_RGB32),
                  RenderLabelPage(label, test::DrawBoxes, moved).convertToFormat(QImage::Format_RGB32));
    }

    // Without serial numbers the page is repeated, and the job asks for one copy of the document.
    label = test::MakeTextLabel(50, 30, "SAME");
    result = job.Print(label, "pwg-port", 3);
    ASSERT_TRUE(result) << result.error;
    pages = arrived(2);
    ASSERT_TRUE(pages.has_value());
    EXPECT_EQ(pages->size(), 3u);
    test::RemoveQueue("pwg-port");
    listener.kill();
    listener.waitForFinished();
}

}  // namespace
}  // namespace etiqo
