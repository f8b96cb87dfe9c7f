// One label per record, run as `etiqo render --data` processes: labels a second, labels a second of
// the process's CPU time (`labels/cpu_s`, fairer on a busy machine) and its peak memory (`peak_MB`),
// which must stay flat as the records grow (the source is streamed).
//   EtiqoCsvPdf/N, EtiqoCsvPng/N: the first N of 100,000 CSV records to one PDF / to PNG pages
//     (PNG up to 10,000: one file a label)
//   EtiqoSqlitePdf/N, EtiqoPostgresPdf/N: the same rows from an SQLite file and a private
//     PostgreSQL server (scripts/postgres-rig.sh)
//   Glabels/1000: `glabels-3-batch -i data.csv` of the same label, 1,000 CSV records in one run;
//   Glabels/10000: 10,000 records as 20 runs of 500 (a single run's merge grows faster than the
//     square of the records). Skipped where gLabels is not installed.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include "BenchProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

constexpr int kRows = 100000;
QTemporaryDir* g_dir = nullptr;
bool g_postgres = false;

QString Path(const char* name) {
    return g_dir->filePath(QString::fromLatin1(name));
}

QString Name(int i) {
    return QStringLiteral("货品 %1, \"A\"").arg(i);
}
QString Sku(int i) {
    return QStringLiteral("SKU-%1").arg(i, 6, 10, QLatin1Char('0'));
}
QString Url(int i) {
    return QStringLiteral("https://etiqo.example/p/%1").arg(i, 6, 10, QLatin1Char('0'));
}

// The data the benchmarks read, made once: the CSV, the gLabels pieces, SQLite, PostgreSQL.
bool MakeData() {
    Label label;
    Element text = MakeTextElement(20, 20, "${name}");
    text.nWidth = 300;
    text.nHeight = 40;
    label.Append(text);
    label.Append(MakeBarcodeElement(20, 80, "${sku}"));
    Element qr = Make2DElement(20, 200, "${url}");
    qr.nWidth = 160;
    label.Append(qr);
    if (!SaveLabelFile(label, Path("label.lab").toStdString())) {
        return false;
    }
    QFile csv(Path("items.csv"));
    if (!csv.open(QIODevice::WriteOnly)) {
        return false;
    }
    csv.write("name,sku,url\n");
    for (int i = 1; i <= kRows; ++i) {
        QString name = Name(i);
        name.replace(QLatin1String("\""), QLatin1String("\"\""));
        csv.write(QStringLiteral("\"%1\",%2,%3\n").arg(name, Sku(i), Url(i)).toUtf8());
    }
    csv.close();

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(Path("items.sqlite"));
    bool ok = db.open();
    {
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("CREATE TABLE items(name TEXT, sku TEXT, url TEXT)")) &&
             db.transaction();
        ok = ok && q.prepare(QStringLiteral("INSERT INTO items VALUES (?, ?, ?)"));
        for (int i = 1; ok && i <= kRows; ++i) {
            q.addBindValue(Name(i));
            q.addBindValue(Sku(i));
            q.addBindValue(Url(i));
            ok = q.exec();
        }
        ok = ok && db.commit();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));

    QProcess rig;
    rig.start(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/postgres-rig.sh"),
              {QStringLiteral("start"), g_dir->path()});
    rig.waitForFinished(120000);
    if (rig.exitCode() == 0) {
        for (const QString& line :
             QString::fromUtf8(rig.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            qputenv(line.section('=', 0, 0).toUtf8(), line.section('=', 1).toUtf8());
        }
        QFile::setPermissions(Path("items.csv"), QFile::ReadOwner | QFile::ReadOther | QFile::WriteOwner);
        const int loaded = QProcess::execute(
            QStringLiteral("psql"),
            {QStringLiteral("-q"), QStringLiteral("-c"),
             QStringLiteral("CREATE TABLE items(name TEXT, sku TEXT, url TEXT)"), QStringLiteral("-c"),
             QStringLiteral("\\copy items FROM '%1' CSV HEADER").arg(Path("items.csv"))});
        g_postgres = loaded == 0;
    }
    return ok;
}

using bench::RunForPeakMegabytes;

void RunEtiqo(benchmark::State& state, std::vector<std::string> source, const char* output) {
    std::vector<std::string> arguments{
        ETIQO_BINARY_DIR "/src/app/etiqo",     "render", Path("label.lab").toStdString(), "--records",
        "1-" + std::to_string(state.range(0)), "-o",     Path(output).toStdString()};
    arguments.insert(arguments.end(), source.begin(), source.end());
    double peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        peak = RunForPeakMegabytes(arguments, &cpu);
        if (peak < 0) {
            state.SkipWithError("etiqo render failed");
            return;
        }
    }
    state.counters["peak_MB"] = peak;
    state.counters["labels/cpu_s"] = static_cast<double>(state.range(0)) / cpu;
    state.counters["labels/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void EtiqoCsvPdf(benchmark::State& state) {
    RunEtiqo(state, {"--data", Path("items.csv").toStdString()}, "csv.pdf");
}
BENCHMARK(EtiqoCsvPdf)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(kRows)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void EtiqoCsvPng(benchmark::State& state) {
    QDir(g_dir->path()).mkpath(QStringLiteral("png"));
    RunEtiqo(state, {"--data", Path("items.csv").toStdString()}, "png/page.png");
    QDir(Path("png")).removeRecursively();
}
BENCHMARK(EtiqoCsvPng)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void EtiqoSqlitePdf(benchmark::State& state) {
    RunEtiqo(state, {"--data", Path("items.sqlite").toStdString(), "--table", "items"}, "sqlite.pdf");
}
BENCHMARK(EtiqoSqlitePdf)->Arg(1000)->Arg(kRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void EtiqoPostgresPdf(benchmark::State& state) {
    if (!g_postgres) {
        state.SkipWithError("the private PostgreSQL server did not start");
        return;
    }
    RunEtiqo(state,
             {"--data", "postgresql://etiqo@/labels?host=" + qEnvironmentVariable("PGHOST").toStdString(),
              "--query", "SELECT * FROM items"},
             "postgres.pdf");
}
BENCHMARK(EtiqoPostgresPdf)
    ->Arg(1000)
    ->Arg(kRows)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The same 50 × 80 mm label for gLabels 3: the text, the Code 128 and the QR code from fields.
// gLabels 3 reads a field in a text as a <Field> node (not "${name}", which it prints as typed)
// and each object's placement from its affine attributes a0…a5, which default to 0: an object
// without them is scaled to nothing, and the page comes out empty.
constexpr char kGlabelsDocument[] = R"(<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Etiqo" part="bench" size="Other" width="50mm" height="80mm" description="50 x 80 mm">
    <Meta category="label"/>
    <Label-rectangle id="0" width="50mm" height="80mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="0mm"/>
      <Layout nx="1" ny="1" x0="0mm" y0="0mm" dx="50mm" dy="80mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="2.5mm" y="2.5mm" w="37.5mm" h="5mm" justify="Left" valign="Top" auto_shrink="False"
                 a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span font_family="WenQuanYi Zen Hei" font_size="12" font_weight="Regular" font_italic="False" color="0xff" line_spacing="1"><Field name="name"/></Span>
    </Object-text>
    <Object-barcode x="2.5mm" y="10mm" w="37.5mm" h="10mm" style="Code128" text="True" checksum="True"
                    backend="gnu-barcode" color="0xff" field="sku" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"/>
    <Object-barcode x="2.5mm" y="25mm" w="20mm" h="20mm" style="IEC18004" text="False" checksum="True"
                    backend="libqrencode" color="0xff" field="url" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"/>
  </Objects>
  <Merge type="Text/Comma/Line1Keys"/>
</Glabels-document>
)";

void Glabels(benchmark::State& state) {
    const QString batch = QStandardPaths::findExecutable(QStringLiteral("glabels-3-batch"));
    if (batch.isEmpty()) {
        state.SkipWithError("glabels-3-batch is not installed (Debian package glabels)");
        return;
    }
    const int records = static_cast<int>(state.range(0));
    const int perFile = records > 1000 ? 500 : records;
    // The records split into files of perFile, each with its own document.
    for (int file = 0; file < records / perFile; ++file) {
        QFile csv(Path("gl-%1.csv").arg(file));
        QFile doc(Path("gl-%1.glabels").arg(file));
        if (!csv.open(QIODevice::WriteOnly) || !doc.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the gLabels files");
            return;
        }
        csv.write("name,sku,url\n");
        for (int i = file * perFile + 1; i <= (file + 1) * perFile; ++i) {
            QString name = Name(i);
            name.replace(QLatin1String("\""), QLatin1String("\"\""));
            csv.write(QStringLiteral("\"%1\",%2,%3\n").arg(name, Sku(i), Url(i)).toUtf8());
        }
        doc.write(kGlabelsDocument);
    }
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        for (int file = 0; file < records / perFile; ++file) {
            QProcess run;
            run.start(batch, {QStringLiteral("-i"), Path("gl-%1.csv").arg(file), QStringLiteral("-o"),
                              Path("gl-%1.pdf").arg(file), Path("gl-%1.glabels").arg(file)});
            if (!run.waitForFinished(-1) || run.exitCode() != 0) {
                state.SkipWithError(run.readAllStandardError().toStdString().c_str());
                return;
            }
            // A document gLabels cannot merge still exits 0 with one page: no figure then.
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {Path("gl-%1.pdf").arg(file)});
            info.waitForFinished();
            if (!QString::fromUtf8(info.readAllStandardOutput())
                     .contains(QRegularExpression(QStringLiteral("Pages: +%1\\n").arg(perFile)))) {
                state.SkipWithError("gLabels did not make one page per record");
                return;
            }
        }
    }
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    const double cpu = seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) -
                       seconds(before.ru_stime);
    state.counters["labels/cpu_s"] = static_cast<double>(records * state.iterations()) / cpu;
    state.counters["labels/s"] =
        benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Glabels)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace etiqo

int main(int argc, char** argv) {
    return etiqo::bench::RunBenchmarks<QCoreApplication>(
        argc, argv, etiqo::g_dir,
        []() -> std::optional<int> {
            if (etiqo::MakeData()) {
                return std::nullopt;
            }
            std::fprintf(stderr, "data_bench: cannot make the data\n");
            return 1;
        },
        [] {
            QProcess::execute(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/postgres-rig.sh"),
                              {QStringLiteral("stop"), etiqo::g_dir->path()});
        });
}
