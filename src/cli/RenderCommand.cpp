#include "cli/RenderCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "model/Geometry.h"
#include "model/LabelFile.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPage.h"
#include "print/LabelPdfPages.h"
#include "render/SymbolCache.h"
#include "res/Texts.h"

namespace etiqo {

namespace {

QString Text(TextId id) {
    return QString::fromUtf8(Tr(id));
}

void PrintLine(const QString& line) {
    std::fprintf(stderr, "etiqo: %s\n", line.toUtf8().constData());
}

std::optional<std::pair<int, int>> PositivePair(const QString& value, bool pairOnly) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})(?:x(\\d{1,6}))?$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch() || (pairOnly && !match.hasCaptured(2))) {
        return std::nullopt;
    }
    const int first = match.captured(1).toInt();
    const int second = match.hasCaptured(2) ? match.captured(2).toInt() : first;
    if (first <= 0 || second <= 0) {
        return std::nullopt;
    }
    return std::pair{first, second};
}

// Warnings name the file and the element; a missing picture is said once, not once a page.
class Warnings {
public:
    explicit Warnings(QString file) : m_file(std::move(file)) {}
    void operator()(const std::string& message) {
        if (m_said.insert(message).second) {
            PrintLine(Text(TextId::CliWarning).arg(m_file, QString::fromStdString(message)));
        }
    }

private:
    QString m_file;
    std::set<std::string> m_said;
};

bool WritePngPages(Label& label, const LabelPainter& painter, const RenderOptions& options, QString& error) {
    std::vector<QString> written;
    for (int page = 1; page <= options.copies; ++page) {
        bool moved = false;
        QImage image = RenderLabelPage(label, painter, moved);
        image.setDotsPerMeterX(qRound(label.m_nDpiX / 0.0254));
        image.setDotsPerMeterY(qRound(label.m_nDpiY / 0.0254));
        const QString name = QString::fromStdString(PageFileName(options.output, page, options.copies));
        QSaveFile file(name);
        bool ok = file.open(QIODevice::WriteOnly);
        if (ok) {
            QImageWriter writer(&file, "png");
            writer.setCompression(1);  // a 1-bit page compresses well even at the fastest level
            ok = writer.write(image) && file.commit();
        }
        if (!ok) {
            error = Text(TextId::CliCannotWrite).arg(name, file.errorString());
            for (const QString& done : written) {
                QFile::remove(done);
            }
            return false;
        }
        written.push_back(name);
    }
    return true;
}

bool WritePdf(Label& label, const LabelPainter& painter, const RenderOptions& options, QString& error) {
    const QString name = QString::fromStdString(options.output);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        error = Text(TextId::CliCannotWrite).arg(name, file.errorString());
        return false;
    }
    LabelPdfPages pages(file, QSizeF(label.m_nLabelWidthMM, label.m_nLabelHeightMM), label.m_nDpiX,
                        label.m_nDpiY, QString::fromStdString(options.labelFile));
    bool painted = true;
    for (int page = 1; page <= options.copies && painted; ++page) {
        QPainter* device = pages.NextPage();
        painted = device != nullptr;
        if (painted) {
            painter(*device, label);
        }
    }
    // Uncommitted, the save file leaves whatever was at the name untouched.
    if (!pages.Finish() || !painted || !file.commit()) {
        error = Text(TextId::CliCannotWrite).arg(name, file.errorString());
        return false;
    }
    return true;
}

// Qt's notes about the environment (no runtime folder, no session bus) are not ours to report:
// stderr carries one line per problem with the command.
void QuietQt() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "etiqo: %s\n", message.toUtf8().constData());
        }
    });
}

}  // namespace

std::optional<RenderOptions> ParseRenderOptions(std::span<char* const> args, std::string& error) {
    RenderOptions options;
    const auto fail = [&](const QString& message) {
        error = message.toStdString();
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const QString word = QString::fromLocal8Bit(args[i]);
        const bool takesValue = word == "-o" || word == "--dpi" || word == "--copies" || word == "--view";
        if (takesValue && i + 1 >= args.size()) {
            return fail(Text(TextId::CliMissingValue).arg(word));
        }
        const QString value = takesValue ? QString::fromLocal8Bit(args[++i]) : QString();
        if (word == "-o") {
            options.output = value.toStdString();
        } else if (word == "--dpi") {
            const auto dpi = PositivePair(value, false);
            if (!dpi) {
                return fail(Text(TextId::CliBadDpi).arg(value));
            }
            std::tie(options.dpiX, options.dpiY) = *dpi;
        } else if (word == "--copies") {
            const auto copies = PositivePair(value, false);
            if (!copies || value.contains(QLatin1Char('x'))) {
                return fail(Text(TextId::CliBadCopies).arg(value));
            }
            options.copies = copies->first;
        } else if (word == "--view") {
            const auto view = PositivePair(value, true);
            if (!view) {
                return fail(Text(TextId::CliBadView).arg(value));
            }
            std::tie(options.viewWidth, options.viewHeight) = *view;
        } else if (word == "--update") {
            options.update = true;
        } else if (word.startsWith(QLatin1Char('-')) || !options.labelFile.empty()) {
            return fail(Text(TextId::CliUnknownOption).arg(word));
        } else {
            options.labelFile = args[i];
        }
    }
    if (options.labelFile.empty() || options.output.empty()) {
        return fail(Text(TextId::CliRenderUsage));
    }
    const QString output = QString::fromStdString(options.output);
    if (output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        options.pdf = true;
    } else if (!output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        return fail(Text(TextId::CliBadOutputName).arg(output));
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

int RunRender(std::span<char* const> args) {
    std::string parseError;
    const std::optional<RenderOptions> options = ParseRenderOptions(args, parseError);
    if (!options) {
        PrintLine(QString::fromStdString(parseError));
        return 1;
    }
    LabelReadResult read = ReadLabelFile(options->labelFile);
    if (!read) {
        PrintLine(QString::fromStdString(read.error));
        return 1;
    }
    QuietQt();
    const auto app = EnsureGuiApplication();

    Label label;
    label.m_strFileName = options->labelFile;
    label.m_strPrinterName = read.contents->printerName;
    label.m_nLabelWidthMM = read.contents->widthMM;
    label.m_nLabelHeightMM = read.contents->heightMM;
    label.m_nDpiX = options->dpiX;
    label.m_nDpiY = options->dpiY;
    label.m_elements = std::move(read.contents->elements);

    SymbolCache symbols;
    const PixelSize view = HeadlessView(label, QSize(options->viewWidth, options->viewHeight));
    PrepareHeadless(label, symbols, view);
    Warnings warn(QString::fromStdString(options->labelFile));
    const LabelPainter painter = HeadlessPainter(symbols, view, std::ref(warn));

    QString error;
    const bool written = options->pdf ? WritePdf(label, painter, *options, error)
                                      : WritePngPages(label, painter, *options, error);
    if (!written) {
        PrintLine(error);
        return 1;
    }
    if (options->update) {
        const LabelFileStatus saved = SaveLabelFile(label, options->labelFile);
        if (!saved) {
            PrintLine(QString::fromStdString(saved.error));
            return 1;
        }
    }
    return 0;
}

}  // namespace etiqo
