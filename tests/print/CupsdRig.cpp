#include "CupsdRig.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <memory>

namespace etiqo::test {

namespace {

std::unique_ptr<QTemporaryDir> g_dir;  // constant-initialized: there before the environment starts
constexpr char kMark[] = "# written before this step\n";

QString RunTool(const QString& program, const QStringList& arguments, bool* ok = nullptr) {
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(90000);
    if (ok) {
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

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
        ASSERT_TRUE(CupsdRig::Run(QStringLiteral("start"))) << "the private cupsd did not start";
    }
    void TearDown() override {
        CupsdRig::Run(QStringLiteral("stop"));
        g_dir.reset();
    }
};

[[maybe_unused]] const auto* const g_rig = ::testing::AddGlobalTestEnvironment(new RigEnvironment);

}  // namespace

QString CupsdRig::Dir() {
    return g_dir ? g_dir->path() : QString();
}

QString CupsdRig::QueueOutput(const QString& queue) {
    return Dir() + QStringLiteral("/") + queue + QStringLiteral(".zpl");
}

QByteArray CupsdRig::ReadQueueOutput(const QString& queue) {
    QFile file(QueueOutput(queue));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString CupsdRig::UserOptionsFile() {
    return Dir() + QStringLiteral("/home/.cups/lpoptions");
}

QString CupsdRig::Lpoptions(const QString& printer) {
    return RunTool(QStringLiteral("lpoptions"), {"-p", printer}).trimmed();
}

bool CupsdRig::Run(const QString& action) {
    return Script(action, {QLatin1String(kQueue), QLatin1String(kSecondQueue)}).has_value();
}

std::optional<QString> CupsdRig::Script(const QString& action, const QStringList& arguments) {
    bool ok = false;
    const QString output = RunTool(QStringLiteral(ETIQO_SOURCE_DIR "/scripts/cupsd-rig.sh"),
                                   QStringList{action, Dir()} + arguments, &ok);
    if (!ok) {
        ADD_FAILURE() << "cupsd-rig.sh " << action.toStdString() << ": " << output.toStdString();
        return std::nullopt;
    }
    return output;
}

QStringList CupsdRig::JobFiles(const QString& name, int count) {
    const QDir jobs(Dir() + QStringLiteral("/") + name + QStringLiteral("-jobs"));
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

std::vector<std::pair<QString, QString>> CupsdRig::AddDriverQueues() {
    const QString output = Script(QStringLiteral("drivers")).value_or(QString());
    std::vector<std::pair<QString, QString>> queues;
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space > 0) {
            queues.emplace_back(line.left(space), line.mid(space + 1).trimmed());
        }
    }
    return queues;
}

QString CupsdRig::DriverQueueOutput(const QString& queue) {
    return Dir() + QStringLiteral("/") + queue + QStringLiteral(".out");
}

void CupsdRig::ClearUserOptions() {
    QFile::remove(UserOptionsFile());
}

void CupsdRig::MarkUserOptions() {
    QFile file(UserOptionsFile());
    if (file.open(QIODevice::Append)) {
        file.write(kMark);
    }
}

bool CupsdRig::UserOptionsMarked() {
    QFile file(UserOptionsFile());
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(kMark);
}

}  // namespace etiqo::test
