#pragma once
// What the printing benchmarks share: a private cupsd for the whole program (scripts/cupsd-rig.sh,
// never the user's own) and the 50 × 80 mm label they print.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>

#include "BenchProcess.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/Serial.h"

namespace etiqo::bench {

class CupsRig {
public:
    // Starts the rig with its ZPL queue "zpl"; more: further cupsd-rig.sh commands run after the
    // start, each given the rig's folder as its first argument.
    explicit CupsRig(const std::vector<QStringList>& more = {})
        : m_dir(QDir::tempPath() + QStringLiteral("/etiqo-bench-XXXXXX")) {
        const QByteArray dir = QFile::encodeName(m_dir.path());
        setenv("CUPS_SERVER", (dir + "/cups.sock").constData(), 1);
        setenv("HOME", (dir + "/home").constData(), 1);
        setenv("CUPS_SERVERROOT", (dir + "/etc").constData(), 1);
        m_output = Run(Script(), {QStringLiteral("start"), m_dir.path(), QStringLiteral("zpl")}, &m_ok);
        for (const QStringList& command : more) {
            if (m_ok) {
                m_output = Run(Script(), QStringList{command.front(), m_dir.path()} + command.mid(1), &m_ok);
            }
        }
    }
    ~CupsRig() { Run(Script(), {QStringLiteral("stop"), m_dir.path()}); }
    CupsRig(const CupsRig&) = delete;
    CupsRig& operator=(const CupsRig&) = delete;

    bool ok() const { return m_ok; }
    // What the rig's script said last (the reason when it failed).
    const QString& output() const { return m_output; }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private:
    static QString Script() { return QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"); }
    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_output;
};

// The benchmark label (serialized text and Code 128 of `digits` digits, a QR code) saved in the
// rig's folder for `printer`; empty when it cannot be written.
inline QString SaveSerializedLabel(const CupsRig& rig, const std::string& printer, int digits) {
    const std::string first = "A-" + std::string(static_cast<std::size_t>(digits - 1), '0') + "1";
    Label label;
    label.SetLabelSize(50, 80);
    label.m_strPrinterName = printer;
    Element text = MakeTextElement(20, 20, "LOT " + first);
    text.nSerialMode = kSerialIncrement;
    label.Append(text);
    Element barcode = MakeBarcodeElement(20, 100, first);
    barcode.nSerialMode = kSerialIncrement;
    label.Append(barcode);
    label.Append(Make2DElement(20, 300, "https://example.com/etiqo"));
    const QString file = rig.Path(QStringLiteral("bench.lab"));
    return SaveLabelFile(label, file.toStdString()) ? file : QString();
}

}  // namespace etiqo::bench
