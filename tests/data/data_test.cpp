// Labels from data: field references with a fixed clock, CSV/TSV/SQLite sources, records left out
// and why, `etiqo render --data`; the same 1,000 records (a Chinese column, commas and quotes in
// values, a quantity column) from a CSV file, an SQLite file and a private PostgreSQL server
// printed to the private ZPL queue and read back by the decoders; the designer's Data menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>

#include "DriverOutput.h"
#include "PrintTestSupport.h"
#include "RunProcess.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DataMenu.h"
#include "data/FieldTemplate.h"
#include "data/MergeOutput.h"
#include "data/SourceFile.h"
#include "dialogs/ContentEdit.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"
#include "print/BatchProgress.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/HeadlessOutput.h"

namespace etiqo {
namespace {

using test::CupsdRig;
using test::ReadBarcodes;

// A program's standard output; it must succeed.
QString Output(const QString& program, const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& argument : arguments) {
        args.push_back(argument.toStdString());
    }
    const testing::ProcessResult run = testing::RunProcess(program.toStdString(), args);
    EXPECT_EQ(run.status, 0) << program.toStdString() << run.err;
    return QString::fromStdString(run.out);
}

using Rows = std::vector<std::vector<std::string>>;

const QDateTime kNow(QDate(2026, 1, 31), QTime(9, 5, 7));

TEST(FieldSyntax, ExpandsEveryReference) {
    const std::unordered_map<std::string, int> columns{{"name", 0}, {"价格", 1}, {"a:b", 2}};
    const std::vector<std::string> values{"Tee, \"green\"", "12,50", "x"};
    // clang-format off
    const struct { const char *name, *content, *expanded; } cases[] = {
        {"plain", "no fields", "no fields"},
        {"column", "${name}!", "Tee, \"green\"!"},
        {"chinese column", "¥${价格}", "¥12,50"},
        {"colon in a column name", "${a:b}", "x"},
        {"missing column", "[${gone}]", "[]"},
        {"date", "${date}", "2026-01-31"},
        {"best before +30d", "BB ${date:+30d:%Y-%m-%d}", "BB 2026-03-02"},
        {"month end kept", "${date:+1m:%d.%m.%Y}", "28.02.2026"},
        {"chained offset", "${date:+1y-1d}", "2027-01-30"},
        {"weeks", "${date:-2w:%j %a}", "017 Sat"},
        {"time", "${time}", "09:05:07"},
        {"time offset", "${time:+90min:%H%M}", "1035"},
        {"datetime", "${datetime}", "2026-01-31 09:05"},
        {"datetime hours", "${datetime:+16h:%d %H}", "01 01"},
        {"record and copy", "${record}/${copy}", "42/3"},
        {"escape", "$${name} = ${name}", "${name} = Tee, \"green\""},
        {"unclosed", "${name", "${name"},
        {"empty", "${}", "${}"},
        {"bad offset", "${date:+3q}", "${date:+3q}"},
        {"built-in with argument", "${record:5}", "${record:5}"},
        {"lone dollar", "$5 ${name", "$5 ${name"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const FieldTemplate parsed = FieldTemplate::Parse(c.content);
        EXPECT_EQ(parsed.Expand({&columns, &values, 42, 3, kNow}), c.expanded) << c.name;
        EXPECT_EQ(parsed.HasFields(), std::string(c.content) != c.expanded) << c.name;
    }
    EXPECT_EQ(FieldTemplate::Parse("${b}${a}${b}${date}").Columns(), (std::vector<std::string>{"b", "a"}));
}

Rows ReadAll(DataSource& source) {
    Rows rows{source.Columns()};
    std::vector<std::string> values;
    while (source.Next(values)) {
        rows.push_back(values);
    }
    EXPECT_EQ(source.Error(), "");
    return rows;
}

// Files as written (each row one case), an SQLite table and query, and the reasons given when a
// source cannot be opened.
TEST(Sources, ReadAsWrittenOrSayWhyNot) {
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(dir.filePath("items.db"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("CREATE TABLE \"my items\"(sku TEXT, qty INTEGER, note TEXT)"));
        ASSERT_TRUE(q.exec("INSERT INTO \"my items\" VALUES ('A-1', 2, '甲'), ('B-2', 0, NULL)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    const std::string db = dir.filePath("items.db").toStdString();
    // clang-format off
    const struct { const char *name, *file; std::string bytes; Rows rows; } cases[] = {  // bytes: of the file, or the table or query
        {"quotes, commas, CRLF, line break in quotes", "a.csv", "id,text\r\n1,\"a, \"\"b\"\"\"\r\n2,\"two\nlines\"\r\n3, spaced \r\n",
         {{"id", "text"}, {"1", "a, \"b\""}, {"2", "two\nlines"}, {"3", " spaced "}}},
        {"BOM, no final newline, short row, blank line", "b.csv", "\xEF\xBB\xBFk,v\n\nx\ny,z", {{"k", "v"}, {"x", ""}, {"y", "z"}}},
        {"GB18030", "c.csv", Gb18030FromUtf8("名称,价\n苹果,\"5,0\"\n"), {{"名称", "价"}, {"苹果", "5,0"}}},
        {"TSV", "d.tsv", "a\tb\nx,y\t\"q\"\n", {{"a", "b"}, {"x,y", "q"}}},
        {"header only", "e.csv", "a,b\n", {{"a", "b"}}},
        {"SQLite table", nullptr, "my items", {{"sku", "qty", "note"}, {"A-1", "2", "甲"}, {"B-2", "0", ""}}},
        {"SQLite query", nullptr, "SELECT sku || '!' AS s FROM \"my items\" WHERE qty > 0", {{"s"}, {"A-1!"}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string path = c.file ? dir.filePath(c.file).toStdString() : db;
        if (c.file) {
            std::ofstream(path, std::ios::binary) << c.bytes;
        }
        SourceChoice choice = SourceChoiceFor(path);
        EXPECT_EQ(choice.kind == SourceKind::Sqlite, !c.file) << c.name;
        (c.bytes.starts_with("SELECT") ? choice.query : choice.table) = c.file ? "" : c.bytes;
        std::string error;
        const auto source = OpenDataSource(choice, error);
        ASSERT_TRUE(source) << c.name << ": " << error;
        EXPECT_EQ(ReadAll(*source), c.rows) << c.name;
    }
    std::ofstream(dir.filePath("empty.csv").toStdString());
    SourceChoice badQuery = SourceChoiceFor(db);
    badQuery.query = "SELECT nope FROM \"my items\"";
    SourceChoice gone = badQuery;
    gone.location = dir.filePath("gone.db").toStdString();
    for (const auto& [choice, reason] :
         {std::pair{SourceChoiceFor(dir.filePath("none.csv").toStdString()), "none.csv"},
          std::pair{SourceChoiceFor(dir.filePath("empty.csv").toStdString()), "header"},
          std::pair{badQuery, "no such column: nope"}, std::pair{gone, ""}}) {
        std::string error;
        EXPECT_FALSE(OpenDataSource(choice, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("gone.db")));  // SQLite files are never created
    EXPECT_EQ(QSqlDatabase::connectionNames(), QStringList());
}

TEST(Merge, LeavesOutBadRecordsAndCountsSerialsAcrossRecords) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("m.csv").toStdString();
    std::ofstream(path) << "code,n,qty\n400638133393,x,2\n"
                        << std::string(300, '4') << ",y,1\n1,z,0\n2,w,-1\n978020137962,\"\",1\n12AB,v,1\n";
    Label label;
    label.Append(MakeTextElement(0, 0, "${n} 0007")).nSerialMode = kSerialIncrement;
    label.Append(MakeBarcodeElement(0, 40, "${code}")).nSymbology = 13;  // EAN
    label.Append(MakeTextElement(0, 90, "#${record}.${copy}"));
    label.Append(MakeBarcodeElement(0, 140, "S-01")).nSerialMode = kSerialIncrement;
    SymbolCache symbols;
    SourceChoice choice = SourceChoiceFor(path);
    choice.quantityColumn = "qty";
    std::string error;
    auto source = OpenForLabel(label, choice, error);
    ASSERT_TRUE(source) << error;
    RecordMerge merge(label, *source, symbols, SettingsFor(choice, {}, kNow));
    std::vector<std::string> pages;
    Label page;
    while (merge.NextPage(page)) {
        std::string line;
        for (const ElementPtr& e : page.m_elements) {
            line += ContentUtf8(*e) + "|";
        }
        pages.push_back(line);
        ++page.m_elements[3]->str[3];  // as drawing steps a serial number: carried to the label
        merge.PageDone(page);
    }
    EXPECT_EQ(pages,
              (std::vector<std::string>{"x 0007|400638133393|#1.1|S-01|", "x 0008|400638133393|#1.2|S-02|",
                                        " 0009|978020137962|#5.1|S-03|"}));
    EXPECT_EQ(ContentUtf8(*label.m_elements[0]), "${n} 0010");
    EXPECT_EQ(ContentUtf8(*label.m_elements[1]), "${code}");
    ASSERT_EQ(merge.Problems().size(), 3U);
    EXPECT_EQ(DescribeProblem(merge.Problems()[0]),
              "record 2 skipped, element 1: the content is longer than 255 bytes");
    EXPECT_EQ(DescribeProblem(merge.Problems()[1]),
              "record 4 skipped: the quantity \"-1\" is not a whole number of 0 or more");
    EXPECT_EQ(merge.Problems()[2].record, 6);
    EXPECT_EQ(merge.Problems()[2].element, 1);  // letters in an EAN
    EXPECT_NE(merge.Problems()[2].reason, "");
    EXPECT_EQ(symbols.Size(), 0U);
    EXPECT_EQ(MergeSummary(3, 1), "3 records skipped, 1 label made");

    label.Append(MakeTextElement(0, 0, "${colour}${n}${size}"));
    choice.quantityColumn = "many";
    EXPECT_FALSE(OpenForLabel(label, choice, error));
    EXPECT_EQ(error, "the data source has no column named colour, size, many");
    EXPECT_EQ(ParseRecordRange("10-250")->last, 250);
    EXPECT_EQ(ParseRecordRange("7-")->first, 7);
    EXPECT_FALSE(ParseRecordRange("0-3") || ParseRecordRange("5-4") || ParseRecordRange("x"));
}

// etiqo render with --data: pages per record, the remembered source, what a user is told.
TEST(DataCommandLine, RendersRecordsAndSaysWhatWasLeftOut) {
    QTemporaryDir dir;
    const QString label = dir.filePath("tag.lab");
    Label tag;
    tag.SetLabelSize(50, 30);
    tag.Append(MakeBarcodeElement(16, 16, "${sku}-${copy}"));
    tag.Append(MakeTextElement(16, 120, "${名称}"));
    ASSERT_TRUE(SaveLabelFile(tag, label.toStdString()));
    const QString csv = dir.filePath("items.csv");
    std::ofstream(csv.toStdString()) << "sku,名称,n\nA-1,\"苹果, red\",2\nB-2,\"pear \"\"x\"\"\",1\n"
                                     << std::string(260, 'C') << ",long,1\nD-4,d,3\n";
    test::ProgramRun run = test::RunEtiqo({"render", label, "--data", csv, "--quantity", "n", "--records",
                                           "2-", "-o", dir.filePath("out.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "etiqo: record 3 skipped, element 0: the content is longer than 255 bytes\n"
              "etiqo: 1 record skipped, 4 labels made\n");
    const QStringList made = QDir(dir.path()).entryList({"out*.png"}, QDir::Files, QDir::Name);
    EXPECT_EQ(made, (QStringList{"out-1.png", "out-2.png", "out-3.png", "out-4.png"}));
    EXPECT_EQ(Output("zbarimg", {"-q", "--raw", dir.filePath("out-1.png")}), "B-2-1\n");
    EXPECT_EQ(Output("zbarimg", {"-q", "--raw", dir.filePath("out-4.png")}), "D-4-3\n");

    // The remembered source: a connection without its password; a file beside the label by its
    // relative name, with a fixed count of copies per record.
    SourceChoice remembered{
        SourceKind::Sql, "postgresql://clerk:secret@db/stock", "", "SELECT *\nFROM t", "q", 1};
    ASSERT_TRUE(WriteSourceFile(label.toStdString(), remembered));
    const auto read = ReadSourceFile(label.toStdString());
    EXPECT_EQ(std::tie(read->location, read->query),
              std::tuple("postgresql://clerk@db/stock", remembered.query));
    remembered = SourceChoiceFor(csv.toStdString());
    remembered.copies = 2;
    ASSERT_TRUE(WriteSourceFile(label.toStdString(), remembered));
    EXPECT_TRUE(Output("cat", {label + ".data"}).contains("location=items.csv"));
    run = test::RunEtiqo({"render", label, "--records", "1", "-o", dir.filePath("one.pdf")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(Output("pdfinfo", {dir.filePath("one.pdf")}).contains(QRegularExpression("Pages: +2\n")));
}

// Record i (from 0), as the query below makes it: SKU, a Chinese name, a note with commas and quotes
// (the quantity is i % 4).
std::array<std::string, 3> Item(int i) {
    const char* names[] = {"苹果", "香蕉, 进口", "\"精选\" 梨"};
    return {"SKU-" + std::to_string(10000 + i), names[i % 3] + std::to_string(i),
            "size \"" + std::to_string(i % 7) + "\", red"};
}

TEST(DataPrint, ThousandRecordsFromEverySource) {
    constexpr int kRecords = 1000;
    const auto app = EnsureGuiApplication();
    QTemporaryDir dir;
    const QString csv = dir.filePath("items.csv");
    // The rows made in SQLite, written out as CSV by sqlite3 and copied into a private PostgreSQL server.
    const QString sqliteFile = dir.filePath("items.sqlite");
    const QString make =
        "CREATE TABLE items AS WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 999) SELECT 'SKU-' || (10000 + i) AS sku, (CASE i % 3 WHEN 0 THEN '苹果' "
        "WHEN 1 THEN '香蕉, 进口' ELSE '\"精选\" 梨' END) || i AS name, "
        "'size \"' || (i % 7) || '\", red' AS note, i % 4 AS qty FROM n";
    Output("sqlite3", {sqliteFile, make});
    std::ofstream(csv.toStdString())
        << Output("sqlite3", {"-csv", "-header", sqliteFile, "SELECT * FROM items"}).toStdString();
    const QString rig = QStringLiteral(ETIQO_SOURCE_DIR "/scripts/postgres-rig.sh");
    for (const QString& line : Output(rig, {"start", dir.path()}).split('\n', Qt::SkipEmptyParts)) {
        qputenv(line.section('=', 0, 0).toUtf8(),
                line.section('=', 1).toUtf8());  // as the user's shell would
    }
    const std::shared_ptr<void> stop(nullptr, [&](void*) { QProcess::execute(rig, {"stop", dir.path()}); });
    QFile::setPermissions(csv, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    Output("psql", {"-q", "-c", "CREATE TABLE items(sku TEXT, name TEXT, note TEXT, qty INTEGER)", "-c",
                    "\\copy items FROM '" + csv + "' CSV HEADER"});

    SourceChoice sqlite = SourceChoiceFor(sqliteFile.toStdString());
    sqlite.table = "items";
    // The password comes from PGPASSWORD, never from the connection.
    SourceChoice server =
        SourceChoiceFor("postgresql://etiqo@/labels?host=" + qgetenv("PGHOST").toStdString());
    server.query = "SELECT * FROM items ORDER BY sku";
    for (SourceChoice choice : {SourceChoiceFor(csv.toStdString()), sqlite, server}) {
        choice.quantityColumn = "qty";
        Label label;
        label.SetLabelSize(60, 40);
        label.Append(MakeBarcodeElement(20, 10, "${sku}"));
        label.Append(MakeTextElement(20, 100, "${name} ${note} ${record}"));
        label.Append(Make2DElement(320, 130, "${name}|${note}")).nWidth = 150;
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
        // Label k is a copy of record records[k]; equal neighbours are copies of one record.
        std::vector<int> records;
        for (int i = 0; i < kRecords; ++i) {
            records.insert(records.end(), static_cast<std::size_t>(i % 4), i);
        }
        ASSERT_EQ(pages.size(), records.size()) << choice.location;
        for (std::size_t k = 1; k < pages.size(); ++k) {
            ASSERT_EQ(pages[k].quantity, 1);
            ASSERT_EQ(pages[k].graphic == pages[k - 1].graphic, records[k] == records[k - 1]) << k;
        }
        for (const std::size_t k : {std::size_t{0}, std::size_t{1}, pages.size() / 2, pages.size() - 1}) {
            const auto item = Item(records[k]);
            const QString png = dir.filePath(QStringLiteral("page-%1.png").arg(k));
            const QString qr = QString::fromStdString(item[1] + "|" + item[2]);
            QStringList expected{qr, QString::fromStdString(item[0])};
            expected.sort();
            EXPECT_EQ(ReadBarcodes(pages[k].graphic, png), expected) << k;
            EXPECT_EQ(Output("ZXingReader", {"-format", "QRCode", "-bytes", png}).trimmed(), qr) << k;
        }
    }
}

// The Data menu: the canvas shows each record's values (read back from the screen), File > Print
// and batch printing print one label per record and tell what was left out, a save takes the
// source along, and detaching shows the references as typed again.
TEST(DataPrint, DesignerAttachStepPrintSaveAndBatch) {
    QTemporaryDir dir;
    const std::string label = dir.filePath("tag.lab").toStdString();
    Label tag;
    tag.SetLabelSize(60, 40);
    tag.m_strPrinterName = CupsdRig::kQueue;
    tag.Append(MakeBarcodeElement(20, 20, "${sku}"));
    std::tie(tag.m_elements[0]->nWidth, tag.m_elements[0]->nHeight) = std::tuple(420, 160);
    ASSERT_TRUE(SaveLabelFile(tag, label));
    std::ofstream(dir.filePath("items.csv").toStdString()) << "sku,名称\nAB-1,x\n"
                                                           << std::string(300, 'X') << ",y\nEF-3,z\n";
    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(frame.OpenLabelFile(QString::fromStdString(label)));
    auto* data = frame.findChild<CDataMenu*>();
    const QString png = dir.filePath("screen.png");
    const auto screen = [&] { return ReadBarcodes(frame.m_wndCanvas.grab().toImage(), png).join(','); };
    EXPECT_EQ(screen(), "${sku}");  // no source: as typed

    data->AttachFile(dir.filePath("items.csv"));
    EXPECT_EQ(data->Record(), 1);
    EXPECT_EQ(screen(), "AB-1");
    EXPECT_TRUE(ReadSourceFile(label));
    EXPECT_TRUE(ContentEdit::FieldChoices().contains("${名称}"));
    data->ShowRecord(1000);  // beyond the end: the last record
    EXPECT_EQ(data->Record(), 3);
    EXPECT_EQ(screen(), "EF-3");
    EXPECT_EQ(ContentUtf8(*frame.m_wndCanvas.GetLabel().m_elements[0]), "${sku}");  // the label keeps it

    QString told;
    QTimer closer;  // messages closed as the user would
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    closer.start(50);
    frame.OnCommand(cmd::kPrint);
    const QString summary =
        "record 2 skipped, element 0: the content is longer than 255 bytes\n1 record skipped, 2 labels made";
    EXPECT_EQ(told, summary);

    // Saved under a new name, the label takes its source along; a batch prints it by its own source.
    const std::string copy = dir.filePath("copy.lab").toStdString();
    ASSERT_TRUE(frame.SaveLabelTo(copy));
    ASSERT_TRUE(ReadSourceFile(copy));
    data->Detach();
    EXPECT_FALSE(ReadSourceFile(label));
    EXPECT_EQ(screen(), "${sku}");
    EXPECT_FALSE(ContentEdit::FieldChoices().contains("${名称}"));
    Label batch;
    std::deque<std::string> queue{copy};
    const BatchReport report = PrintBatch(&frame, batch, queue, {}, {},
                                          [&](Label& l, const std::string& file, const std::string& printer) {
                                              return data->PrintQueued(l, file, printer);
                                          });
    ASSERT_EQ(report.jobs.size(), 1U);
    EXPECT_EQ(report.notPrinted, std::vector<std::string>{
                                     copy + ": " + QString(summary).replace(QChar(10), "; ").toStdString()});
    const auto pages = test::DecodeZplJob(test::WaitForQueueOutput(report.jobs[0].jobId));
    ASSERT_EQ(pages.size(), 2U);
    EXPECT_EQ(ReadBarcodes(pages[0].graphic, dir.filePath("b1.png")), QStringList{"AB-1"});
    EXPECT_EQ(ReadBarcodes(pages[1].graphic, dir.filePath("b2.png")), QStringList{"EF-3"});
}

}  // namespace
}  // namespace etiqo
