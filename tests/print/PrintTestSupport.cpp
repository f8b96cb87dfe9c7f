#include "PrintTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <memory>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/Serial.h"
#include "model/TextCodec.h"
#include "print/CupsSpooler.h"

namespace etiqo::test {

namespace {

std::unique_ptr<QTemporaryDir> g_dir;  // constant-initialized: there before the environment starts
constexpr char kMark[] = "# written before this step\n";
const QString kUserOptions = QStringLiteral("home/.cups/lpoptions");

class RigEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        // Short: the socket path must fit in 108 bytes.
        g_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/etiqo-cups-XXXXXX"));
        ASSERT_TRUE(g_dir->isValid());
        const QByteArray dir = QFile::encodeName(g_dir->path());
        // Set before anything talks to CUPS: libcups reads them once per thread.
        setenv("CUPS_SERVER", (dir + "/cups.sock").constData(), 1);
        setenv("HOME", (dir + "/home").constData(), 1);
        setenv("CUPS_SERVERROOT", (dir + "/etc").constData(), 1);
        ASSERT_TRUE(CupsdRig::Script(QStringLiteral("start"), {CupsdRig::kQueue, CupsdRig::kSecondQueue}))
            << "the private cupsd did not start";
    }
    void TearDown() override {
        CupsdRig::Script(QStringLiteral("stop"));
        g_dir.reset();
    }
};

[[maybe_unused]] const auto* const g_rig = ::testing::AddGlobalTestEnvironment(new RigEnvironment);

}  // namespace

QString CupsdRig::Dir(const QString& file) {
    return !g_dir ? QString() : file.isEmpty() ? g_dir->path() : g_dir->filePath(file);
}

QByteArray CupsdRig::ReadQueueOutput(const QString& queue) {
    QFile file(Dir(queue + QStringLiteral(".zpl")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString CupsdRig::Lpoptions(const QString& printer) {
    return Run(QStringLiteral("lpoptions"), {"-p", printer}).out.trimmed();
}

std::optional<QString> CupsdRig::Script(const QString& action, const QStringList& arguments) {
    const ProgramRun run =
        Run(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"), QStringList{action, Dir()} + arguments);
    if (run.status != 0) {
        ADD_FAILURE() << "cupsd-rig.sh " << action.toStdString() << ": " << (run.out + run.err).toStdString();
        return std::nullopt;
    }
    return run.out;
}

QStringList CupsdRig::JobFiles(const QString& name, int count) {
    const QDir jobs(Dir(name + QStringLiteral("-jobs")));
    QStringList files;
    for (int i = 0; i < 600 && files.size() < count; ++i) {
        QThread::msleep(i ? 50 : 0);
        files.clear();
        for (const QString& file : jobs.entryList({"*.prn"}, QDir::Files, QDir::Name)) {
            files << jobs.filePath(file);
        }
    }
    return files;
}

void CupsdRig::ClearUserOptions() {
    QFile::remove(Dir(kUserOptions));
}

void CupsdRig::MarkUserOptions() {
    QFile file(Dir(kUserOptions));
    if (file.open(QIODevice::Append)) {
        file.write(kMark);
    }
}

bool CupsdRig::UserOptionsMarked() {
    QFile file(Dir(kUserOptions));
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(kMark);
}

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

QString SaveSerialCodeLabel(const QString& dir, int widthMM, int heightMM, const char* first, int x, int y) {
    Label label;
    label.SetLabelSize(widthMM, heightMM);
    Element code = MakeBarcodeElement(x, y, first);
    code.nSerialMode = kSerialIncrement;
    label.Append(code);
    const QString file = dir + QStringLiteral("/serial.lab");
    EXPECT_TRUE(SaveLabelFile(label, file.toStdString()));
    return file;
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

ProgramRun Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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

ProgramRun RunEtiqo(const QStringList& arguments, const QProcessEnvironment& environment) {
    return Run(QStringLiteral(ETIQO_BINARY_DIR "/src/app/etiqo"), arguments, environment);
}

QStringList ReadBarcodes(const QImage& image, const QString& pngPath) {
    QStringList codes = image.save(pngPath) ? Run(QStringLiteral("zbarimg"), {"-q", "--raw", pngPath})
                                                  .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                            : QStringList();
    codes.sort();
    return codes;
}

}  // namespace etiqo::test
