#include "PrintTestSupport.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QProcess>

#include "CupsdRig.h"
#include "model/ElementFactory.h"
#include "model/Serial.h"
#include "model/TextCodec.h"
#include "print/CupsSpooler.h"

namespace etiqo::test {

Label MakeTextLabel(int widthMM, int heightMM, const std::string& text, int serialMode) {
    Label label;
    label.SetLabelSize(widthMM, heightMM);
    Element element = MakeTextElement(20, 20, text);
    element.nWidth = 200;
    element.nHeight = 60;
    element.nSerialMode = serialMode;
    element.bSelected = 0;
    label.Append(element);
    return label;
}

bool DrawBoxes(QPainter& painter, Label& label) {
    bool moved = false;
    for (const ElementPtr& element : label.m_elements) {
        const QRect box(element->nPosX, element->nPosY, element->nWidth, element->nHeight);
        painter.setPen(Qt::black);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString(ContentUtf8(*element)));
        moved = AdvanceSerial(*element) || moved;
    }
    return moved;
}

QByteArray WaitForQueueOutput(int jobId, std::chrono::milliseconds timeout) {
    CupsSpooler spooler;
    const JobEnd end = spooler.WaitForJob(jobId, timeout);
    EXPECT_EQ(end, JobEnd::Completed) << spooler.LastError();
    return end == JobEnd::Completed ? CupsdRig::ReadQueueOutput() : QByteArray();
}

bool AddQueue(const char* name, const QString& output, const char* driver) {
    return QProcess::execute(QStringLiteral("lpadmin"),
                             {"-p", QString::fromUtf8(name), "-E", "-v", QStringLiteral("file://") + output,
                              "-m", QString::fromUtf8(driver)}) == 0;
}

void RemoveQueue(const char* name) {
    QProcess::execute(QStringLiteral("lpadmin"), {"-x", QString::fromUtf8(name)});
}

ProgramRun RunEtiqo(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"), arguments);
    ProgramRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    // Qt's own start-up chatter (no XDG runtime folder in a test) is not ours.
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split(QLatin1Char('\n'))) {
        if (!line.isEmpty() && !line.startsWith(QStringLiteral("QStandardPaths"))) {
            run.err += line + QLatin1Char('\n');
        }
    }
    return run;
}

QStringList ReadBarcodes(const QImage& image, const QString& pngPath) {
    if (!image.save(pngPath)) {
        return {};
    }
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {"-q", "--raw", pngPath});
    zbar.waitForFinished(30000);
    QStringList codes =
        QString::fromUtf8(zbar.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

}  // namespace etiqo::test
