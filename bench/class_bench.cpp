// A long run over a printer class, against a private cupsd (scripts/cupsd-rig.sh) whose class
// "trio" holds three Zebra ZPL printers at 203 dpi taking raw jobs over socket:// from
// raw_listener (built with the tests), which writes each job to a file of its own once complete.
// One iteration is `etiqo print label.lab --printer trio --copies 10000 --job-size 500` of a
// 50 × 80 mm label (serialized text and Code 128, a QR code), from start until all 20 job files are
// complete; first_job_s is the time from start until the first job is in the queue (its first
// page with it: a job is queued whole).
#include <benchmark/benchmark.h>

#include "BenchRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

constexpr int kLabels = 10000;
constexpr int kJobSize = 500;
constexpr int kJobs = kLabels / kJobSize;

using etiqo::bench::Run;

etiqo::bench::CupsRig& TheRig() {
    static etiqo::bench::CupsRig rig({{QStringLiteral("class"), QStringLiteral("trio"), QStringLiteral("3"),
                                       QStringLiteral(ETIQO_BINARY_DIR "/tests/print/raw_listener")}});
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
    const QString file = etiqo::bench::SaveSerializedLabel(TheRig(), "", 5);
    if (file.isEmpty()) {
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
