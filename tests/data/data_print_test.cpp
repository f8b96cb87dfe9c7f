// The same 1,000 records (a Chinese column, commas and quotes in values, a quantity column) from a
// CSV file, an SQLite file and a private PostgreSQL server, printed to the private ZPL queue: the
// right number of labels in the right order, their barcodes read back by the decoders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <fstream>

#include "CupsdRig.h"
#include "PrintTestSupport.h"
#include "ZplGraphic.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DataMenu.h"
#include "data/MergeOutput.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/HeadlessOutput.h"
#include "render/SymbolCache.h"

namespace etiqo {
namespace {

using test::CupsdRig;

struct Item {
    std::string sku, name, note;
    int qty;
};

// Record i (from 0): a quantity of 0 to 3, a Chinese name, a note with commas and quotes.
Item MakeItem(int i) {
    const char* names[] = {"苹果", "香蕉, 进口", "\"精选\" 梨"};
    return {"SKU-" + std::to_string(10000 + i), names[i % 3] + std::to_string(i),
            "size \"" + std::to_string(i % 7) + "\", red", i % 4};
}

constexpr int kRecords = 1000;

std::string CsvField(const std::string& value) {
    std::string out = "\"";
    for (const char c : value) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

// zbarimg reads every symbol on the page (sorted), ZXingReader the QR code's bytes.
QStringList Decode(const QImage& image, const QString& png, bool zbar) {
    image.save(png);
    QProcess process;
    process.start(zbar ? QStringLiteral("zbarimg") : QStringLiteral("ZXingReader"),
                  zbar ? QStringList{"-q", "--raw", png} : QStringList{"-format", "QRCode", "-bytes", png});
    process.waitForFinished(30000);
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

class DataPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        pgRig = QStringLiteral(ETIQO_SOURCE_DIR "/scripts/postgres-rig.sh");
        QProcess start;
        start.start(pgRig, {"start", folder->path()});
        start.waitForFinished(120000);
        pgStarted = start.exitCode() == 0;
        for (const QString& line :
             QString::fromUtf8(start.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            qputenv(line.section('=', 0, 0).toUtf8(),
                    line.section('=', 1).toUtf8());  // as the user's shell would
        }
        if (!pgStarted) {
            ADD_FAILURE() << start.readAllStandardError().toStdString();
        }
    }
    static void TearDownTestSuite() {
        QProcess::execute(pgRig, {"stop", folder->path()});
        delete folder;
    }

    // The label: the SKU as Code 128, name and note as text, name|note as a QR code.
    static Label MakeLabel() {
        Label label;
        label.SetLabelSize(60, 40);
        label.Append(MakeBarcodeElement(20, 10, "${sku}"));
        label.Append(MakeTextElement(20, 100, "${name} ${note} ${record}"));
        label.Append(Make2DElement(320, 130, "${name}|${note}"));
        label.m_elements[2]->nWidth = label.m_elements[2]->nHeight = 150;
        return label;
    }

    // Prints and checks what the queue received.
    void PrintAndCheck(const SourceChoice& choice) {
        const auto app = EnsureGuiApplication();
        Label label = MakeLabel();
        SymbolCache symbols;
        const PixelSize view = HeadlessView(label);
        PrepareHeadless(label, symbols, view);
        CupsPrinterConfig printers;
        CupsSpooler spooler;
        const MergeOutcome outcome =
            PrintMerged(label, choice, SettingsFor(choice, {}, QDateTime::currentDateTime()), symbols,
                        HeadlessPainter(symbols, view), printers, spooler, CupsdRig::kQueue);
        ASSERT_TRUE(outcome.ok && outcome.problems.empty()) << outcome.error;
        const std::vector<test::ZplPage> pages = test::DecodeZplJob(test::WaitForQueueOutput(outcome.jobId));
        // Label k of the job is the copy of record records[k]; equal neighbours are copies of one record.
        std::vector<int> records;
        for (int i = 0; i < kRecords; ++i) {
            records.insert(records.end(), static_cast<std::size_t>(MakeItem(i).qty), i);
        }
        ASSERT_EQ(pages.size(), records.size());
        EXPECT_EQ(outcome.labels, static_cast<long>(records.size()));
        for (std::size_t k = 1; k < pages.size(); ++k) {
            ASSERT_EQ(pages[k].quantity, 1);
            ASSERT_EQ(pages[k].graphic == pages[k - 1].graphic, records[k] == records[k - 1]) << k;
        }
        for (const std::size_t k :
             {std::size_t{0}, std::size_t{1}, std::size_t{2}, pages.size() / 2, pages.size() - 1}) {
            const Item item = MakeItem(records[k]);
            const QString png = folder->filePath(QStringLiteral("page-%1.png").arg(k));
            const QString qr = QString::fromStdString(item.name + "|" + item.note);
            QStringList expected{qr, QString::fromStdString(item.sku)};
            expected.sort();
            EXPECT_EQ(Decode(pages[k].graphic, png, true), expected) << k;
            EXPECT_EQ(Decode(pages[k].graphic, png, false), QStringList{qr}) << k;
        }
    }

    static inline QTemporaryDir* folder = nullptr;
    static inline QString pgRig;
    static inline bool pgStarted = false;
};

TEST_F(DataPrintTest, CsvFile) {
    const std::string path = folder->filePath("items.csv").toStdString();
    std::ofstream csv(path, std::ios::binary);
    csv << "\xEF\xBB\xBFsku,name,note,qty\r\n";
    for (int i = 0; i < kRecords; ++i) {
        const Item item = MakeItem(i);
        csv << item.sku << "," << CsvField(item.name) << "," << CsvField(item.note) << "," << item.qty
            << "\r\n";
    }
    csv.close();
    SourceChoice choice = SourceChoiceFor(path);
    choice.quantityColumn = "qty";
    PrintAndCheck(choice);
}

// Fills a table through Qt SQL; false when the server cannot be used.
bool FillTable(QSqlDatabase db) {
    QSqlQuery q(db);
    if (!db.open() || !q.exec("CREATE TABLE items(sku TEXT, name TEXT, note TEXT, qty INTEGER)")) {
        return false;
    }
    db.transaction();
    q.prepare("INSERT INTO items VALUES (?, ?, ?, ?)");
    for (int i = 0; i < kRecords; ++i) {
        const Item item = MakeItem(i);
        q.addBindValue(QString::fromStdString(item.sku));
        q.addBindValue(QString::fromStdString(item.name));
        q.addBindValue(QString::fromStdString(item.note));
        q.addBindValue(item.qty);
        if (!q.exec()) {
            return false;
        }
    }
    return db.commit();
}

TEST_F(DataPrintTest, SqliteFile) {
    const QString path = folder->filePath("items.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
        db.setDatabaseName(path);
        ASSERT_TRUE(FillTable(db));
    }
    QSqlDatabase::removeDatabase("fill");
    SourceChoice choice = SourceChoiceFor(path.toStdString());
    choice.table = "items";
    choice.quantityColumn = "qty";
    PrintAndCheck(choice);
}

TEST_F(DataPrintTest, PostgresServer) {
    ASSERT_TRUE(pgStarted);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "fill");
        db.setHostName(qEnvironmentVariable("PGHOST"));
        db.setUserName("etiqo");
        db.setDatabaseName("labels");
        ASSERT_TRUE(FillTable(db)) << db.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase("fill");
    // The password comes from PGPASSWORD, never from the connection.
    SourceChoice choice =
        SourceChoiceFor("postgresql://etiqo@/labels?host=" + qEnvironmentVariable("PGHOST").toStdString());
    choice.query = "SELECT * FROM items ORDER BY sku";
    choice.quantityColumn = "qty";
    PrintAndCheck(choice);

    std::string error;
    choice.query = "SELECT * FROM nowhere";
    EXPECT_FALSE(OpenDataSource(choice, error));
    EXPECT_NE(error.find("relation \"nowhere\" does not exist"), std::string::npos) << error;
    qputenv("PGPASSWORD", "wrong");
    EXPECT_FALSE(OpenDataSource(choice, error));
    EXPECT_NE(error.find("password authentication failed"), std::string::npos) << error;
    qputenv("PGPASSWORD", "etiqo-test");
}

// The designer's File > Print with a source attached: one label per record, the first records'
// barcodes on the first pages, a record that does not fit told and left out.
TEST_F(DataPrintTest, DesignerPrintsEveryRecord) {
    const std::string path = folder->filePath("designer.lab").toStdString();
    Label tag;
    tag.SetLabelSize(50, 30);
    tag.m_strPrinterName = CupsdRig::kQueue;
    tag.Append(MakeBarcodeElement(16, 16, "${sku}"));
    ASSERT_TRUE(SaveLabelFile(tag, path));
    std::ofstream(folder->filePath("designer.csv").toStdString()) << "sku\nP-1\n"
                                                                  << std::string(300, 'X') << "\nP-3\n";
    CMainFrame frame;
    ASSERT_TRUE(frame.OpenLabelFile(QString::fromStdString(path)));
    auto* data = frame.findChild<CDataMenu*>();
    data->AttachFile(folder->filePath("designer.csv"));
    QString told;
    QTimer closer;  // the summary of what was left out, closed as the user would
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    closer.start(50);
    const QByteArray before = CupsdRig::ReadQueueOutput();
    frame.OnCommand(cmd::kPrint);
    EXPECT_EQ(told,
              "record 2 skipped, element 0: the content is longer than 255 bytes\n"
              "1 records skipped, 2 labels made");
    std::vector<test::ZplPage> pages;
    for (int i = 0; i < 300 && (pages.size() != 2 || CupsdRig::ReadQueueOutput() == before); ++i) {
        QThread::msleep(100);
        pages = test::DecodeZplJob(CupsdRig::ReadQueueOutput());
    }
    ASSERT_EQ(pages.size(), 2U);
    EXPECT_EQ(Decode(pages[0].graphic, folder->filePath("d1.png"), true), QStringList{"P-1"});
    EXPECT_EQ(Decode(pages[1].graphic, folder->filePath("d2.png"), true), QStringList{"P-3"});
    EXPECT_EQ(ContentUtf8(*frame.m_wndCanvas.GetLabel().m_elements[0]), "${sku}");
}

}  // namespace
}  // namespace etiqo
