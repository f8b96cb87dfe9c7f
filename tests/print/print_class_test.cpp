// Long runs over several printers: a CUPS class of three ZPL printers taking raw jobs on a port of
// the test's own (one file per job), and a second private print service standing in for a remote
// server. What arrives is decoded: every serial number exactly once, whichever printer took it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <set>

#include "CupsdRig.h"
#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using test::CupsdRig;

bool RunTool(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    EXPECT_TRUE(ok) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return ok;
}

class PrintClassTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CupsdRig::Script(QStringLiteral("class"),
                         {"trio", "3", QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener")});
    }
    static void TearDownTestSuite() {
        for (const char* queue : {"trio", "trio-1", "trio-2", "trio-3", "mixed", "hi"}) {
            test::RemoveQueue(queue);
        }
    }
    void SetUp() override {
        CupsdRig::ClearUserOptions();
        ASSERT_TRUE(folder.isValid());
    }
    QString SerialLabel(const char* first) {
        return test::SaveSerialCodeLabel(folder.path(), 50, 80, first, 40, 200);
    }
    QTemporaryDir folder;
};

TEST_F(PrintClassTest, AClassSpreadsJobsAndEveryNumberPrintsOnce) {
    const QString file = SerialLabel("N-0001");
    const test::ProgramRun run = test::RunEtiqo(
        {"print", file, "--printer", "trio", "--copies", "10", "--job-size", "3", "--update", "--wait"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count(QLatin1Char('\n')), 4) << run.out.toStdString();  // jobs of 3, 3, 3 and 1

    const QStringList files = CupsdRig::JobFiles(QStringLiteral("trio"), 4);
    ASSERT_EQ(files.size(), 4);
    std::multiset<QString> numbers;
    int pages = 0;
    for (const QString& name : files) {
        QFile job(name);
        ASSERT_TRUE(job.open(QIODevice::ReadOnly));
        const auto decoded = test::DecodePrinterJob(test::PrinterLanguage::Zpl, job.readAll());
        ASSERT_TRUE(decoded.has_value());
        for (const auto& page : *decoded) {
            EXPECT_EQ(page.dots.size(), QSize(400, 639));  // 50 × 80 mm at 203 dpi
            for (const QString& code :
                 test::ReadBarcodes(page.dots, folder.filePath(QStringLiteral("p.png")))) {
                numbers.insert(code);
            }
            ++pages;
        }
    }
    EXPECT_EQ(pages, 10);
    std::multiset<QString> expected;
    for (int n = 1; n <= 10; ++n) {
        expected.insert(QStringLiteral("N-%1").arg(n, 4, 10, QLatin1Char('0')));
    }
    EXPECT_EQ(numbers, expected);
    const LabelReadResult updated = ReadLabelFile(file.toStdString());
    ASSERT_TRUE(updated) << updated.error;
    EXPECT_EQ(ContentUtf8(*updated.contents->elements[0]), "N-0011");
}

// A class whose printers print at different resolutions would make labels of different sizes.
TEST_F(PrintClassTest, AClassMixingResolutionsIsRefused) {
    ASSERT_TRUE(
        RunTool(QStringLiteral("lpadmin"), {"-p", "hi", "-E", "-v", "file:///dev/null", "-m",
                                            "drv:///sample.drv/zebra.ppd", "-o", "Resolution=300dpi"}));
    for (const char* member : {"trio-1", "hi"}) {
        ASSERT_TRUE(RunTool(QStringLiteral("lpadmin"), {"-p", QLatin1String(member), "-c", "mixed"}));
    }
    ASSERT_TRUE(RunTool(QStringLiteral("cupsaccept"), {"mixed"}));
    const test::ProgramRun run = test::RunEtiqo({"print", SerialLabel("M-1"), "--printer", "mixed"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              QStringLiteral("etiqo: the printers of class mixed differ in resolution (hi at 300 dpi, the "
                             "class at 203 dpi): labels would come out in different sizes\n"));
}

// A second print service stands in for a remote one, reached as QUEUE@HOST:PORT or through
// CUPS_SERVER, as on another machine.
TEST_F(PrintClassTest, PrintsThroughAnotherPrintService) {
    QTemporaryDir remote(QDir::tempPath() + QStringLiteral("/etiqo-remote-XXXXXX"));
    ASSERT_TRUE(remote.isValid());
    const QString host =
        QStringLiteral("127.0.0.1:%1").arg(20000 + QRandomGenerator::global()->bounded(20000));
    QProcessEnvironment listening = QProcessEnvironment::systemEnvironment();
    listening.insert(QStringLiteral("RIG_LISTEN"), host);
    ASSERT_TRUE(RunTool(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"),
                        {"start", remote.path(), "far"}, listening));
    QProcessEnvironment server = QProcessEnvironment::systemEnvironment();
    server.insert(QStringLiteral("CUPS_SERVER"), remote.filePath(QStringLiteral("cups.sock")));
    server.insert(QStringLiteral("HOME"), remote.filePath(QStringLiteral("home")));
    struct Case {
        const char* name;
        QString printer;
        QProcessEnvironment environment;
        const char* first;
    };
    const Case cases[] = {
        {"QUEUE@HOST", QStringLiteral("far@") + host, QProcessEnvironment::systemEnvironment(), "R-1"},
        {"CUPS_SERVER", "far", server, "S-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = SerialLabel(c.first);
        const test::ProgramRun run = test::RunEtiqo(
            {"print", file, "--printer", c.printer, "--copies", "2", "--wait", "--update"}, c.environment);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QFile job(remote.filePath(QStringLiteral("far.zpl")));
        ASSERT_TRUE(job.open(QIODevice::ReadOnly));
        const auto pages = test::DecodePrinterJob(test::PrinterLanguage::Zpl, job.readAll());
        ASSERT_TRUE(pages.has_value());
        ASSERT_EQ(pages->size(), 2u);
        EXPECT_EQ(test::ReadBarcodes((*pages)[1].dots, folder.filePath(QStringLiteral("r.png"))),
                  QStringList{QString::fromLatin1(c.first).replace(QLatin1Char('1'), QLatin1Char('2'))});
        const LabelReadResult updated = ReadLabelFile(file.toStdString());  // the label keeps the name
        ASSERT_TRUE(updated) << updated.error;
        EXPECT_EQ(QString::fromStdString(updated.contents->printerName), c.printer);
    }
    RunTool(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"), {"stop", remote.path()});
}

}  // namespace
}  // namespace etiqo
