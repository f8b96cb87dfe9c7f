// A long run over a printer class, against a private cupsd (scripts/cupsd-rig.sh) whose class
// "trio" holds three Zebra ZPL printers at 203 dpi taking raw jobs over socket:// from
// raw_listener (built with the tests), which writes each job to a file of its own once complete.
// One iteration is `etiqo print label.lab --printer trio --copies 10000 --job-size 500` of a
// 50 × 80 mm label (serialized text and Code 128, a QR code), from start until all 20 job files are
// complete; first_job_s is the time from start until the first job is in the queue (its first
// page with it: a job is queued whole).
#include <benchmark/benchmark.h>

#include "BenchProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/Serial.h"

namespace {

constexpr int kLabels = 10000;
constexpr int kJobSize = 500;
constexpr int kJobs = kLabels / kJobSize;

using etiqo::bench::Run;

class Rig {
public:
    Rig() : m_dir(QDir::tempPath() + QStringLiteral("/etiqo-bench-XXXXXX")) {
        const QByteArray dir = QFile::encodeName(m_dir.path());
        setenv("CUPS_SERVER", (dir + "/cups.sock").constData(), 1);
        setenv("HOME", (dir + "/home").constData(), 1);
        setenv("CUPS_SERVERROOT", (dir + "/etc").constData(), 1);
        m_output = Run(Script(), {QStringLiteral("start"), m_dir.path(), QStringLiteral("zpl")}, &m_ok);
        if (m_ok) {
            m_output =
                Run(Script(),
                    {QStringLiteral("class"), m_dir.path(), QStringLiteral("trio"), QStringLiteral("3"),
                     QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener")},
                    &m_ok);
        }
    }
    ~Rig() { Run(Script(), {QStringLiteral("stop"), m_dir.path()}); }
    bool ok() const { return m_ok; }
    const QString& output() const { return m_output; }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private:
    static QString Script() { return QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"); }
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_output;
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

int CompleteJobs(const QDir& jobs) {
    return static_cast<int>(jobs.entryList({QStringLiteral("*.prn")}, QDir::Files).size());
}

void EtiqoPrint10000ToAClassInJobsOf500(benchmark::State& state) {
    if (!QFileInfo::exists(QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener"))) {
        state.SkipWithError("raw_listener is built with the tests (-DETIQO_BUILD_TESTS=ON)");
        return;
    }
    if (!TheRig().ok()) {
        state.SkipWithError(("the private cupsd did not start: " + TheRig().output()).toStdString().c_str());
        return;
    }
    etiqo::Label label;
    label.SetLabelSize(50, 80);
    etiqo::Element text = etiqo::MakeTextElement(20, 20, "LOT A-00001");
    text.nSerialMode = etiqo::kSerialIncrement;
    label.Append(text);
    etiqo::Element barcode = etiqo::MakeBarcodeElement(20, 100, "A-00001");
    barcode.nSerialMode = etiqo::kSerialIncrement;
    label.Append(barcode);
    label.Append(etiqo::Make2DElement(20, 300, "https://example.com/etiqo"));
    const QString file = TheRig().Path(QStringLiteral("bench.lab"));
    if (!etiqo::SaveLabelFile(label, file.toStdString())) {
        state.SkipWithError("cannot write the label");
        return;
    }
    const QDir jobs(TheRig().Path(QStringLiteral("trio-jobs")));
    double firstJob = 0;
    for (auto _ : state) {
        for (const QString& old : jobs.entryList(QDir::Files)) {
            QFile::remove(jobs.filePath(old));
        }
        QElapsedTimer clock;
        clock.start();
        QProcess etiqo;
        etiqo.start(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"),
                    {QStringLiteral("print"), file, QStringLiteral("--printer"), QStringLiteral("trio"),
                     QStringLiteral("--copies"), QString::number(kLabels), QStringLiteral("--job-size"),
                     QString::number(kJobSize)});
        // The first line on standard output says the first job is queued.
        while (!etiqo.canReadLine() && etiqo.state() != QProcess::NotRunning) {
            etiqo.waitForReadyRead(10);
        }
        firstJob += static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (!etiqo.waitForFinished(1800000) || etiqo.exitCode() != 0) {
            state.SkipWithError(etiqo.readAllStandardError().toStdString().c_str());
            return;
        }
        while (CompleteJobs(jobs) < kJobs && clock.elapsed() < 1800000) {
            QThread::msleep(5);
        }
        if (CompleteJobs(jobs) < kJobs) {
            state.SkipWithError("not every job arrived");
            return;
        }
    }
    state.counters["first_job_s"] = firstJob / static_cast<double>(state.iterations());
    state.counters["labels/s"] = benchmark::Counter(
        static_cast<double>(kLabels) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(EtiqoPrint10000ToAClassInJobsOf500)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
