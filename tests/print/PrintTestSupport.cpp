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

namespace {

bool Lpadmin(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("lpadmin"), arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

}  // namespace

bool AddQueue(const char* name, const QString& output, const char* driver) {
    return Lpadmin({QStringLiteral("-p"), QString::fromUtf8(name), QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("file://") + output, QStringLiteral("-m"), QString::fromUtf8(driver)});
}

void RemoveQueue(const char* name) {
    Lpadmin({QStringLiteral("-x"), QString::fromUtf8(name)});
}

}  // namespace etiqo::test
