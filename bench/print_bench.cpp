// Print throughput against a private cupsd (scripts/cupsd-rig.sh) with a Zebra ZPL queue at 203 dpi.
// Each iteration runs a whole print from the command line until the queue has written the job:
//   etiqo: `etiqo print label.lab --copies 100 --wait` (a 50 × 80 mm label, serialized text and
//          barcode, a QR code: 100 different pages);
//   glabels: glabels-3-batch renders the same 100 labels (serial from a merge file) to a PDF, then
//          `lp` queues it and the iteration waits for the job (skipped when gLabels is missing).
#include <benchmark/benchmark.h>

#include "BenchRig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr int kCopies = 100;

using etiqo::bench::Run;

etiqo::bench::CupsRig& TheRig() {
    static etiqo::bench::CupsRig rig;
    return rig;
}

// Waits until the queue has no job left (completed ones excepted).
bool WaitForIdleQueue() {
    for (int i = 0; i < 60000; ++i) {
        if (Run(QStringLiteral("lpstat"), {QStringLiteral("-o"), QStringLiteral("zpl")})
                .trimmed()
                .isEmpty()) {
            return true;
        }
        QThread::msleep(5);
    }
    return false;
}

// `etiqo print` of serialized labels to the ZPL queue until it has written the job: argument 0 is the
// number of labels, argument 1 whether the scan check runs (every page decoded: each carries its own
// number). Target: the check costs at most half again the time.
void EtiqoPrintSerialized(benchmark::State& state) {
    if (!TheRig().ok()) {
        state.SkipWithError("the private cupsd did not start");
        return;
    }
    const QString file = etiqo::bench::SaveSerializedLabel(TheRig(), "zpl", 4);
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the label");
        return;
    }
    QStringList arguments{QStringLiteral("print"), file, QStringLiteral("--copies"),
                          QString::number(state.range(0)), QStringLiteral("--wait")};
    if (state.range(1) == 0) {
        arguments << QStringLiteral("--no-check");
    }
    for (auto _ : state) {
        bool ok = false;
        const QString output = Run(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"), arguments, &ok);
        if (!ok) {
            state.SkipWithError(output.toStdString().c_str());
            return;
        }
    }
    state.counters["labels/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(EtiqoPrintSerialized)
    ->Args({kCopies, 1})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// A gLabels 3 document: the same 50 × 80 mm label, text and Code 128 from a merge field.
constexpr char kGlabelsDocument[] = R"(<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlspec/3.0" version="3.0">
  <Template brand="Etiqo" part="bench" size="Other" width="50mm" height="80mm" description="50 x 80 mm">
    <Meta category="label"/>
    <Label-rectangle id="0" width="50mm" height="80mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="0mm"/>
      <Layout nx="1" ny="1" x0="0mm" y0="0mm" dx="50mm" dy="80mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="2.5mm" y="2.5mm" w="45mm" h="8mm" justify="Left" valign="Top" auto_shrink="False">
      <Span font_family="DejaVu Sans" font_size="14" font_weight="Regular" font_italic="False" color="0xff" line_spacing="1">LOT ${serial}</Span>
    </Object-text>
    <Object-barcode x="2.5mm" y="12.5mm" w="45mm" h="15mm" style="Code128" text="True" checksum="True" backend="built-in" color="0xff">
      <Field name="serial"/>
    </Object-barcode>
    <Object-barcode x="2.5mm" y="37.5mm" w="15mm" h="15mm" style="QRCode" text="False" checksum="True" backend="qrencode" color="0xff" data="https://example.com/etiqo"/>
  </Objects>
  <Merge type="Text/Comma/Line1Keys" src="%1"/>
</Glabels-document>
)";

void GlabelsBatchPdfThenLp100(benchmark::State& state) {
    const QString batch = QStandardPaths::findExecutable(QStringLiteral("glabels-3-batch"));
    if (batch.isEmpty()) {
        state.SkipWithError("glabels-3-batch is not installed (Debian package glabels)");
        return;
    }
    if (!TheRig().ok()) {
        state.SkipWithError("the private cupsd did not start");
        return;
    }
    const QString csv = TheRig().Path(QStringLiteral("serials.csv"));
    const QString document = TheRig().Path(QStringLiteral("bench.glabels"));
    const QString pdf = TheRig().Path(QStringLiteral("glabels.pdf"));
    {
        QFile merge(csv);
        QFile doc(document);
        if (!merge.open(QIODevice::WriteOnly) || !doc.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the gLabels files");
            return;
        }
        merge.write("serial\n");
        for (int i = 1; i <= kCopies; ++i) {
            merge.write(QStringLiteral("A-%1\n").arg(i, 4, 10, QLatin1Char('0')).toUtf8());
        }
        doc.write(QString::fromUtf8(kGlabelsDocument).arg(csv).toUtf8());
    }
    for (auto _ : state) {
        bool ok = false;
        QString output = Run(batch, {QStringLiteral("-o"), pdf, document}, &ok);
        if (ok) {
            output = Run(QStringLiteral("lp"),
                         {QStringLiteral("-d"), QStringLiteral("zpl"), QStringLiteral("-o"),
                          QStringLiteral("media=Custom.50x80mm"), QStringLiteral("-o"),
                          QStringLiteral("PageSize=Custom.50x80mm"), pdf},
                         &ok);
        }
        if (!ok || !WaitForIdleQueue()) {
            state.SkipWithError(output.toStdString().c_str());
            return;
        }
    }
    state.counters["labels/s"] =
        benchmark::Counter(kCopies * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(GlabelsBatchPdfThenLp100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
