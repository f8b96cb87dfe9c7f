// `etiqo print`, `etiqo check` and `etiqo printers` run as processes against the private print
// service: the scan check's refusal, the one-line errors, a CUPS class of three ZPL printers taking
// raw jobs on a port of the test's own (one file per job), and a second private print service
// standing in for a remote server. What arrives is decoded: every serial number exactly once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <set>

#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using test::CupsdRig;
using test::ProgramRun;
using test::RunEtiqo;

const QString kRig = QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh");

class PrintCommandTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CupsdRig::Script(QStringLiteral("class"),
                         {"trio", "3", QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener")});
    }
    static void TearDownTestSuite() {
        for (const char* queue : {"trio", "trio-1", "trio-2", "trio-3", "mixed", "hi"}) {
            test::Run("lpadmin", {"-x", queue});
        }
    }
    void SetUp() override { CupsdRig::ClearUserOptions(); }
    QString SerialLabel(const char* first) {
        return test::SaveSerialCodeLabel(folder.path(), 50, 80, first, 40, 200);
    }
    QTemporaryDir folder;
};

// Thirty digits in a 35 mm box: uneven bars no scanner reads. `etiqo check` says so per page, and
// `etiqo print` refuses to send them unless told not to check.
TEST_F(PrintCommandTest, CodesThatWouldNotScanAreReportedAndNotPrintedUnlessNoCheck) {
    Label label;
    label.SetLabelSize(50, 30);
    label.m_strPrinterName = CupsdRig::kQueue;
    Element dense = MakeBarcodeElement(40, 16, "123456789012345678901234567890");
    dense.nWidth = 280;
    dense.nHeight = 100;
    dense.nSerialMode = kSerialIncrement;
    label.Append(dense);
    const QString file = folder.filePath(QStringLiteral("dense.lab"));
    ASSERT_TRUE(SaveLabelFile(label, file.toStdString()));

    ProgramRun run = RunEtiqo({"check", file, "--copies", "2"});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("\"result\": \"does not read\"")), 2) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"expected\": \"123456789012345678901234567891\"")));

    run = RunEtiqo({"print", file, "--update"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(QStringLiteral("page 1, element 0 (CODE_128): does not read")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("--no-check prints anyway)\n"))) << run.err.toStdString();
    ASSERT_TRUE(ReadLabelFile(file.toStdString()));
    EXPECT_EQ(ContentUtf8(*ReadLabelFile(file.toStdString()).contents->elements[0]),
              "123456789012345678901234567890");

    run = RunEtiqo({"print", file, "--no-check", "--wait"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(test::DecodeZplJob(CupsdRig::ReadQueueOutput()).size(), 1u);

    const ProgramRun checked = RunEtiqo({"check", QStringLiteral(ETIQO_SOURCE_DIR "/samples/sample.lab")});
    EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
}

// One line and status 1 for every error, among them a class whose printers print at different
// resolutions: it would make labels of different sizes.
TEST_F(PrintCommandTest, ErrorsAreOneLineAndExitStatusOne) {
    for (const char* lpadmin :
         {"-p hi -E -v file:///dev/null -m drv:///sample.drv/zebra.ppd -o Resolution=300dpi",
          "-p trio-1 -c mixed", "-p hi -c mixed"}) {
        EXPECT_EQ(test::Run("lpadmin", QString::fromLatin1(lpadmin).split(QLatin1Char(' '))).status, 0);
    }
    EXPECT_EQ(test::Run("cupsaccept", {"mixed"}).status, 0);
    const QString file = folder.filePath(QStringLiteral("none.lab"));
    ASSERT_TRUE(SaveLabelFile(test::MakeTextLabel(50, 30, "X"), file.toStdString()));  // names no printer
    const QString queue = QLatin1String(CupsdRig::kQueue);
    QProcessEnvironment down = QProcessEnvironment::systemEnvironment();
    down.insert(QStringLiteral("CUPS_SERVER"), folder.filePath(QStringLiteral("nobody.sock")));
    const std::tuple<QStringList, bool, QString> cases[] = {
        // arguments, CUPS running, message
        {{"print", file}, true, "etiqo: the label names no printer (give one with --printer NAME)\n"},
        {{"print", file, "--printer", "nope"}, true, "etiqo: no printer named nope\n"},
        {{"print", folder.filePath(QStringLiteral("missing.lab")), "--printer", queue}, true, QString()},
        {{"print", file, "--printer", queue}, false, "etiqo: the print service (CUPS) is not running\n"},
        {{"printers"}, false, "etiqo: the print service (CUPS) is not running\n"},
        {{"print", SerialLabel("M-1"), "--printer", "mixed"},
         true,
         "etiqo: the printers of class mixed differ in resolution (hi at 300 dpi, the class at 203 dpi): "
         "labels would come out in different sizes\n"},
    };
    for (const auto& [arguments, running, message] : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramRun run = RunEtiqo(arguments, running ? QProcessEnvironment::systemEnvironment() : down);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        if (!message.isEmpty()) {
            EXPECT_EQ(run.err, message);
        }
    }
}

TEST_F(PrintCommandTest, AClassSpreadsJobsAndEveryNumberPrintsOnce) {
    const QString file = SerialLabel("N-0001");
    const ProgramRun run = RunEtiqo(
        {"print", file, "--printer", "trio", "--copies", "10", "--job-size", "3", "--update", "--wait"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count(QLatin1Char('\n')), 4) << run.out.toStdString();  // jobs of 3, 3, 3 and 1

    const QStringList files = CupsdRig::JobFiles(QStringLiteral("trio"), 4);
    ASSERT_EQ(files.size(), 4);
    std::multiset<QString> numbers, expected;
    for (const QString& name : files) {
        QFile job(name);
        ASSERT_TRUE(job.open(QIODevice::ReadOnly));
        for (const auto& page : test::DecodeZplJob(job.readAll())) {
            EXPECT_EQ(page.graphic.size(), QSize(400, 639));  // 50 × 80 mm at 203 dpi
            const QStringList codes =
                test::ReadBarcodes(page.graphic, folder.filePath(QStringLiteral("p.png")));
            numbers.insert(codes.value(0));
        }
    }
    for (int n = 1; n <= 10; ++n) {
        expected.insert(QStringLiteral("N-%1").arg(n, 4, 10, QLatin1Char('0')));
    }
    EXPECT_EQ(numbers, expected);  // ten pages, every number once
    const LabelReadResult updated = ReadLabelFile(file.toStdString());
    ASSERT_TRUE(updated) << updated.error;
    EXPECT_EQ(ContentUtf8(*updated.contents->elements[0]), "N-0011");
}

// A second print service stands in for a remote one, reached as QUEUE@HOST:PORT or through
// CUPS_SERVER, as on another machine.
TEST_F(PrintCommandTest, PrintsThroughAnotherPrintService) {
    QTemporaryDir remote(QDir::tempPath() + QStringLiteral("/etiqo-remote-XXXXXX"));
    ASSERT_TRUE(remote.isValid());
    const QString host =
        QStringLiteral("127.0.0.1:%1").arg(20000 + QRandomGenerator::global()->bounded(20000));
    QProcessEnvironment listening = QProcessEnvironment::systemEnvironment();
    listening.insert(QStringLiteral("RIG_LISTEN"), host);
    EXPECT_EQ(test::Run(kRig, {"start", remote.path(), "far"}, listening).status, 0);
    QProcessEnvironment server = QProcessEnvironment::systemEnvironment();
    server.insert(QStringLiteral("CUPS_SERVER"), remote.filePath(QStringLiteral("cups.sock")));
    server.insert(QStringLiteral("HOME"), remote.filePath(QStringLiteral("home")));
    const std::tuple<QString, QProcessEnvironment, const char*> cases[] = {
        // printer, environment, first number
        {QStringLiteral("far@") + host, QProcessEnvironment::systemEnvironment(), "R-1"},
        {"far", server, "S-1"},
    };
    for (const auto& [printer, environment, first] : cases) {
        SCOPED_TRACE(printer.toStdString());
        const QString file = SerialLabel(first);
        const ProgramRun run = RunEtiqo(
            {"print", file, "--printer", printer, "--copies", "2", "--wait", "--update"}, environment);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QFile job(remote.filePath(QStringLiteral("far.zpl")));
        ASSERT_TRUE(job.open(QIODevice::ReadOnly));
        const auto pages = test::DecodeZplJob(job.readAll());
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_EQ(test::ReadBarcodes(pages[1].graphic, folder.filePath(QStringLiteral("r.png"))),
                  QStringList{QString::fromLatin1(first).replace(QLatin1Char('1'), QLatin1Char('2'))});
        const LabelReadResult updated = ReadLabelFile(file.toStdString());  // the label keeps the name
        ASSERT_TRUE(updated) << updated.error;
        EXPECT_EQ(QString::fromStdString(updated.contents->printerName), printer);
    }
    test::Run(kRig, {"stop", remote.path()});
}

}  // namespace
}  // namespace etiqo
