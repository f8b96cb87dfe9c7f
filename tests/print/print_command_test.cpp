// `etiqo print` and `etiqo printers` run as processes against the private print service: the scan
// check's refusal and the one-line errors.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using test::CupsdRig;

using test::ProgramRun;
using test::RunEtiqo;

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        CupsdRig::ClearUserOptions();
        ASSERT_TRUE(folder.isValid());
    }
    QString Save(Label& label, const char* name) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(SaveLabelFile(label, path.toStdString()));
        return path;
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
    const QString file = Save(label, "dense.lab");

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

TEST_F(PrintCommandTest, ErrorsAreOneLineAndExitStatusOne) {
    Label label = test::MakeTextLabel(50, 30, "X");  // names no printer
    const QString file = Save(label, "none.lab");
    QProcessEnvironment down = QProcessEnvironment::systemEnvironment();
    down.insert(QStringLiteral("CUPS_SERVER"), folder.filePath(QStringLiteral("nobody.sock")));
    struct Case {
        QStringList arguments;
        QProcessEnvironment environment;
        QString message;
    };
    const Case cases[] = {
        {{"print", file},
         QProcessEnvironment::systemEnvironment(),
         "etiqo: the label names no printer (give one with --printer NAME)\n"},
        {{"print", file, "--printer", "nope"},
         QProcessEnvironment::systemEnvironment(),
         "etiqo: no printer named nope\n"},
        {{"print", folder.filePath(QStringLiteral("missing.lab")), "--printer",
          QLatin1String(CupsdRig::kQueue)},
         QProcessEnvironment::systemEnvironment(),
         QString()},
        {{"print", file, "--printer", QLatin1String(CupsdRig::kQueue)},
         down,
         "etiqo: the print service (CUPS) is not running\n"},
        {{"printers"}, down, "etiqo: the print service (CUPS) is not running\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramRun run = RunEtiqo(c.arguments, c.environment);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(run.err, c.message);
        }
    }
}

}  // namespace
}  // namespace etiqo
