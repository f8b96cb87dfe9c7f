// etiqo render and etiqo print with --data, run as processes: pages per record, the remembered
// source, and what a user is told about bad data.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fstream>

#include "data/SourceFile.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

struct ProcessRun {
    int status = -1;
    QString err;
};

ProcessRun Etiqo(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"), arguments);
    ProcessRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    for (const QString& line :
         QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(QStringLiteral("QStandardPaths"))) {
            run.err += line + '\n';
        }
    }
    return run;
}

QString Zbar(const QString& png) {
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {"-q", "--raw", png});
    zbar.waitForFinished(30000);
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

TEST(DataCommandLine, RendersRecordsAndSaysWhatWasLeftOut) {
    QTemporaryDir dir;
    const QString label = dir.filePath("tag.lab");
    Label tag;
    tag.SetLabelSize(50, 30);
    tag.Append(MakeBarcodeElement(16, 16, "${sku}-${copy}"));
    tag.Append(MakeTextElement(16, 120, "${名称}"));
    ASSERT_TRUE(SaveLabelFile(tag, label.toStdString()));
    std::ofstream(dir.filePath("items.csv").toStdString())
        << "sku,名称,n\nA-1,\"苹果, red\",2\nB-2,\"pear \"\"x\"\"\",1\n"
        << std::string(260, 'C') << ",long,1\nD-4,d,3\n";
    const QString out = dir.filePath("out.png");
    const QString csv = dir.filePath("items.csv");

    ProcessRun run = Etiqo({"render", label, "--data", csv, "--quantity", "n", "--records", "2-", "-o", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "etiqo: record 3 skipped, element 0: the content is longer than 255 bytes\n"
              "etiqo: 1 records skipped, 4 labels made\n");
    const QStringList made = QDir(dir.path()).entryList({"out*.png"}, QDir::Files, QDir::Name);
    EXPECT_EQ(made, (QStringList{"out-1.png", "out-2.png", "out-3.png", "out-4.png"}));
    EXPECT_EQ(Zbar(dir.filePath("out-1.png")), "B-2-1");
    EXPECT_EQ(Zbar(dir.filePath("out-4.png")), "D-4-3");

    // The remembered source, with a fixed count of copies per record.
    SourceChoice remembered = SourceChoiceFor(csv.toStdString());
    remembered.copies = 2;
    ASSERT_TRUE(WriteSourceFile(label.toStdString(), remembered));
    run = Etiqo({"render", label, "--records", "1", "-o", dir.filePath("one.pdf")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QProcess info;
    info.start("pdfinfo", {dir.filePath("one.pdf")});
    info.waitForFinished();
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages: +2\n")));

    const struct {
        const char* name;
        QStringList args;
        int status;
        const char* err;
    } failures[] = {
        {"no quantity column", {"--quantity", "qty"}, 1, "etiqo: the data source has no column named qty\n"},
        {"no such file", {"--data", dir.filePath("none.csv")}, 1, "etiqo: cannot open the data source"},
        {"bad range", {"--records", "3-1"}, 2, "--records 3-1: give A-B"},
        {"table and query", {"--table", "a", "--query", "b"}, 2, "give --table or --query, not both"},
        {"database without table",
         {"--data", "postgresql://u@/db"},
         2,
         "say which rows with --table or --query"},
    };
    for (const auto& f : failures) {
        QFile::remove(dir.filePath("f.pdf"));
        run = Etiqo(QStringList{"render", label, "-o", dir.filePath("f.pdf")} + f.args);
        EXPECT_EQ(run.status, f.status) << f.name;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(f.err))) << f.name << ": " << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("f.pdf"))) << f.name;
    }
    tag.Append(MakeTextElement(0, 0, "${colour}"));
    ASSERT_TRUE(SaveLabelFile(tag, label.toStdString()));
    run = Etiqo({"render", label, "-o", dir.filePath("f.pdf")});
    EXPECT_EQ(run.err, "etiqo: the data source has no column named colour\n");
}

}  // namespace
}  // namespace etiqo
