#include "cli/RenderCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <set>
#include <variant>
#include <vector>

#include "cli/CliSupport.h"
#include "data/MergeOutput.h"

#include "model/Geometry.h"
#include "model/LabelFile.h"
#include "print/CheckedWrites.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPage.h"
#include "print/LabelPdfPages.h"
#include "render/SymbolCache.h"
#include "res/Texts.h"

namespace etiqo {

namespace {

// Limits of the values a user may give: beyond them no page is useful and sizes would overflow.
constexpr int kMaxCopies = 1000000;
constexpr int kMaxDpi = 100000;
constexpr int kMaxView = 100000;

// Set by SIGINT and SIGTERM: the run stops after the page at hand and removes what it wrote.
volatile std::sig_atomic_t g_stopSignal = 0;

void OnStopSignal(int signal) {
    g_stopSignal = signal;
}

// Catches the stop signals for the life of a run; the default action comes back at the end.
class StopSignals {
public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGINT, SIGTERM}) {
            ::sigaction(signal, &action, nullptr);
        }
    }
    ~StopSignals() {
        for (const int signal : {SIGINT, SIGTERM}) {
            std::signal(signal, SIG_DFL);
        }
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
};

// Whether name is the label file itself, under its own name or through a link of either kind.
bool IsTheInput(const std::string& name, const struct stat& input) {
    struct stat st {};
    return name != "-" && ::stat(name.c_str(), &st) == 0 && st.st_dev == input.st_dev &&
           st.st_ino == input.st_ino;
}

// Whether name is something other than a regular file that exists (a device such as /dev/null, a
// pipe): it is written to as it is, never replaced by a file of ours.
bool IsSpecialFile(const QString& name) {
    struct stat st {};
    return ::stat(QFile::encodeName(name).constData(), &st) == 0 && !S_ISREG(st.st_mode) &&
           !S_ISDIR(st.st_mode);
}

// One output file: written whole through a save file, or standard output for "-", or a device or
// pipe as it stands.
std::unique_ptr<QFileDevice> OpenOutput(const QString& name) {
    if (name == QLatin1String("-")) {
        auto out = std::make_unique<QFile>();
        out->open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
        return out;
    }
    if (IsSpecialFile(name)) {
        auto out = std::make_unique<QFile>(name);
        out->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        return out;
    }
    auto file = std::make_unique<QSaveFile>(name);
    // Unbuffered, so every write meets the disk while its count can still be checked; a buffered
    // device would report the short write of its final flush as success.
    file->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return file;
}

// Uncommitted, a save file leaves whatever was at the name untouched.
bool Commit(QFileDevice& device) {
    if (auto* file = qobject_cast<QSaveFile*>(&device)) {
        return file->commit();
    }
    return device.flush();
}

// Warnings name the file and the element; a missing picture is said once, not once a page.
class Warnings {
public:
    explicit Warnings(QString file) : m_file(std::move(file)) {}
    void operator()(const std::string& message) {
        if (m_said.insert(message).second) {
            Fail(UiText(TextId::CliWarning).arg(m_file, QString::fromStdString(message)));
        }
    }

private:
    QString m_file;
    std::set<std::string> m_said;
};

bool WritePngPages(Label& label, const LabelPainter& painter, const RenderOptions& options,
                   const struct stat& input, QString& error) {
    std::vector<QString> written;
    for (int page = 1; page <= options.copies; ++page) {
        const std::string pageName = PageFileName(options.output, page, options.copies);
        const QString name = QString::fromStdString(pageName);
        if (IsTheInput(pageName, input)) {
            error = UiText(TextId::CliOutputIsInput).arg(name);
        }
        if (!error.isEmpty() || g_stopSignal != 0) {
            for (const QString& done : written) {
                QFile::remove(done);
            }
            return false;
        }
        bool moved = false;
        const QImage image = RenderLabelPage(label, painter, moved);
        const std::unique_ptr<QFileDevice> file = OpenOutput(name);
        const bool ok = file->isOpen() && g_stopSignal == 0 &&
                        WritePngPage(image, label.m_nDpiX, label.m_nDpiY, *file) && Commit(*file);
        if (!ok) {
            if (g_stopSignal == 0) {
                error = UiText(TextId::CliCannotWrite).arg(name, file->errorString());
            }
            for (const QString& done : written) {
                QFile::remove(done);
            }
            return false;
        }
        written.push_back(name);
    }
    return true;
}

bool WritePdf(Label& label, const LabelPainter& painter, const RenderOptions& options,
              const struct stat& input, QString& error) {
    const QString name = QString::fromStdString(options.output);
    if (IsTheInput(options.output, input)) {
        error = UiText(TextId::CliOutputIsInput).arg(name);
        return false;
    }
    const std::unique_ptr<QFileDevice> file = OpenOutput(name);
    if (!file->isOpen()) {
        error = UiText(TextId::CliCannotWrite).arg(name, file->errorString());
        return false;
    }
    CheckedWrites checked(*file);
    LabelPdfPages pages(checked, QSizeF(label.m_nLabelWidthMM, label.m_nLabelHeightMM), label.m_nDpiX,
                        label.m_nDpiY, QString::fromStdString(options.labelFile));
    bool painted = true;
    for (int page = 1; page <= options.copies && painted; ++page) {
        if (g_stopSignal != 0) {
            return false;  // the save file is dropped uncommitted
        }
        bool moved = false;
        painted = pages.AddPage(
            RenderLabelGrey(label, painter, moved, pages.TakeBlankPage(LabelSizeInDots(label))));
    }
    if (!pages.Finish() || !painted || !checked.Finish() || !Commit(*file)) {
        error = UiText(TextId::CliCannotWrite).arg(name, file->errorString());
        return false;
    }
    return true;
}

}  // namespace

// The options, or the exit status when the command is to stop (help, usage error).
std::variant<RenderOptions, int> ParseRenderOptions(const QStringList& args) {
    CommandParser command(QStringLiteral("render"), TextId::CliRenderSummary);
    QCommandLineParser& parser = command.Parser();
    parser.addPositionalArgument(QStringLiteral("FILE.lab"), UiText(TextId::CliArgLabelFile));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    UiText(TextId::CliOptOutput), QStringLiteral("OUT"));
    const QCommandLineOption format(QStringLiteral("format"), UiText(TextId::CliOptFormat),
                                    QStringLiteral("png|pdf"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), UiText(TextId::CliOptDpi), QStringLiteral("D|DXxDY"));
    const QCommandLineOption copies(QStringLiteral("copies"), UiText(TextId::CliOptCopies),
                                    QStringLiteral("N"));
    const QCommandLineOption update(QStringLiteral("update"), UiText(TextId::CliOptUpdate));
    const QCommandLineOption view(QStringLiteral("view"), UiText(TextId::CliOptView), QStringLiteral("WxH"));
    parser.addOptions({output, format, dpi, copies, update, view});
    const DataOptionSet data(parser);
    if (const auto status = command.Parse(args, 1)) {
        return *status;
    }

    RenderOptions options;
    options.labelFile = ArgumentBytes(parser.positionalArguments().front());
    options.output = ArgumentBytes(parser.value(output));
    options.update = parser.isSet(update);
    if (parser.isSet(dpi)) {
        const auto pair = WholePair(parser.value(dpi), kMaxDpi, false);
        if (!pair) {
            return command.UsageError(UiText(TextId::CliBadDpi).arg(parser.value(dpi)).arg(kMaxDpi));
        }
        std::tie(options.dpiX, options.dpiY) = *pair;
    }
    if (const auto status = command.ReadCount(copies, TextId::CliBadCopies, kMaxCopies, options.copies)) {
        return *status;
    }
    if (parser.isSet(view)) {
        const auto pair = WholePair(parser.value(view), kMaxView, true);
        if (!pair) {
            return command.UsageError(UiText(TextId::CliBadView).arg(parser.value(view)).arg(kMaxView));
        }
        std::tie(options.viewWidth, options.viewHeight) = *pair;
    }
    if (options.output.empty()) {
        return command.UsageError(UiText(TextId::CliNoOutput));
    }
    const QString name = ArgumentText(parser.value(output));
    const bool toStdout = options.output == "-";
    if (parser.isSet(format)) {
        const QString value = parser.value(format).toLower();
        if (value != QLatin1String("png") && value != QLatin1String("pdf")) {
            return command.UsageError(UiText(TextId::CliBadFormat).arg(parser.value(format)));
        }
        options.pdf = value == QLatin1String("pdf");
    } else if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        options.pdf = true;
    } else if (!toStdout && !name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        return command.UsageError(UiText(TextId::CliBadOutputName).arg(name));
    }
    if (toStdout && !options.pdf && options.copies > 1) {
        return command.UsageError(UiText(TextId::CliStdoutOnePage));
    }
    if (const auto status =
            data.Read(command, options.labelFile, parser.isSet(copies) ? options.copies : 0, options.data)) {
        return *status;
    }
    if (toStdout && options.data.used) {
        return command.UsageError(UiText(TextId::DataNoStdout));
    }
    return options;
}

std::string PageFileName(const std::string& output, int page, int copies) {
    if (copies <= 1) {
        return output;
    }
    const std::size_t dot = output.rfind('.');
    return output.substr(0, dot) + "-" + std::to_string(page) + output.substr(dot);
}

int RunRender(const QStringList& args) {
    std::variant<RenderOptions, int> parsed = ParseRenderOptions(args);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const RenderOptions* options = &std::get<RenderOptions>(parsed);
    LabelReadResult read = ReadLabelFile(options->labelFile);
    if (!read) {
        return Fail(read.error);
    }
    struct stat input {};
    ::stat(options->labelFile.c_str(), &input);  // read a moment ago; no inode is 0
    const auto app = EnsureGuiApplication();

    Label label;
    label.Adopt(std::move(*read.contents), options->labelFile);
    label.m_nDpiX = options->dpiX;
    label.m_nDpiY = options->dpiY;
    if (!PageWithinLimit(label)) {
        const QSize dots = LabelSizeInDots(label);
        return Fail(UiText(TextId::CliPageTooLarge)
                        .arg(label.m_nDpiX)
                        .arg(label.m_nDpiY)
                        .arg(dots.width())
                        .arg(dots.height())
                        .arg(kMaxPagePixels));
    }

    SymbolCache symbols;
    const PixelSize view = HeadlessView(label, QSize(options->viewWidth, options->viewHeight));
    PrepareHeadless(label, symbols, view);
    Warnings warn(QString::fromStdString(options->labelFile));
    const LabelPainter painter = HeadlessPainter(symbols, view, std::ref(warn));

    if (options->data.used) {
        const MergeSettings settings =
            SettingsFor(options->data.choice, options->data.range, QDateTime::currentDateTime());
        const QString out = ArgumentFromBytes(options->output.c_str());
        MergeOutcome outcome;
        RenderInQtPool([&] {
            outcome = options->pdf
                          ? ExportMergedPdf(label, options->data.choice, settings, symbols, painter, out)
                          : ExportMergedPng(label, options->data.choice, settings, symbols, painter, out);
        });
        if (outcome.ok && options->update) {
            if (const LabelFileStatus saved = SaveLabelFile(label, options->labelFile); !saved) {
                return Fail(saved.error);
            }
        }
        return ReportOutcome(outcome);
    }

    QString error;
    bool written = false;
    {
        const StopSignals stop;
        RenderInQtPool([&] {
            written = options->pdf ? WritePdf(label, painter, *options, input, error)
                                   : WritePngPages(label, painter, *options, input, error);
        });
    }
    if (g_stopSignal != 0) {
        std::raise(g_stopSignal);  // stopped as the signal would have stopped us, files removed
    }
    if (!written) {
        return Fail(error);
    }
    if (options->update) {
        const LabelFileStatus saved = SaveLabelFile(label, options->labelFile);
        if (!saved) {
            return Fail(saved.error);
        }
    }
    return kExitOk;
}

}  // namespace etiqo
