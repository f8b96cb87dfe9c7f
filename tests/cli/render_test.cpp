// etiqo render as a user runs it: label files in, PNG pages and PDF documents out, read back with
// Qt, the barcode decoders and poppler's tools.

#include <gtest/gtest.h>

#include <QImage>

#include <csignal>
#include <cstring>
#include <fstream>
#include <regex>

#include "RunProcess.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

using testing::FileText;
using testing::ProcessResult;
using testing::RunProcess;

ProcessResult Etiqo(const std::vector<std::string>& args) {
    return RunProcess(testing::EtiqoProgram(), args);
}

// What a decoder or poppler tool printed, without the line ends and form feeds after it.
std::string Output(const std::string& program, const std::vector<std::string>& args) {
    std::string text = RunProcess(program, args).out;
    while (!text.empty() && std::strchr("\n\r \f", text.back()) != nullptr) {
        text.pop_back();
    }
    return text;
}

// Widths of the alternating dark and light runs along a line of the image, from its first dark
// pixel to its last.
std::vector<int> Runs(const QImage& image, QPoint from, QPoint step) {
    std::vector<int> runs;
    bool dark = false;
    for (QPoint p = from; image.rect().contains(p); p += step) {
        const bool isDark = qGray(image.pixel(p)) < 128;
        if (!runs.empty() || isDark) {
            if (runs.empty() || isDark != dark) {
                runs.push_back(0);
                dark = isDark;
            }
            ++runs.back();
        }
    }
    if (!runs.empty() && !dark) {
        runs.pop_back();
    }
    return runs;
}

QRect BlackBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

class RenderCommand : public ::testing::Test {
protected:
    RenderCommand() {
        label.m_nLabelWidthMM = 50;  // 400 × 639 dots at 203 dpi
        label.m_nLabelHeightMM = 80;
    }
    std::string Save() {
        EXPECT_TRUE(SaveLabelFile(label, File("label.lab")));
        return File("label.lab");
    }
    std::string File(const std::string& name) { return (dir / name).string(); }
    Element& AddBarcode(const char* content, int y, int serialMode = kSerialNone) {
        Element e = MakeBarcodeElement(40, y, content);
        e.nWidth = 320;
        e.nHeight = 100;
        e.bShowText = 0;
        e.nSerialMode = serialMode;
        e.bSelected = 0;
        return label.Append(e);
    }

    Label label;
    testing::TempDir dir;
};

// Every page is the label in 1-bit dots at the resolution asked for; an element that cannot be
// drawn is named once on stderr (its text made harmless to a terminal) and the rest still renders.
TEST_F(RenderCommand, PngPageIsTheLabelInOneBitDotsAtEachResolution) {
    AddBarcode("ETQ-0001", 40);
    Element qr = Make2DElement(120, 300, "二维码 标签");  // never painted: no cached symbol
    qr.nWidth = 200;
    label.Append(qr);
    Element picture = ZeroElement();
    picture.nKind = ElementKind::Picture;
    picture.nWidth = picture.nHeight = 50;
    std::strcpy(picture.str, "/no/such/\x1b]0;owned\x07picture.png");  // a terminal's title escape
    label.Append(picture);
    Element upc = MakeBarcodeElement(40, 540, "letters\x1b[2J\x9b");
    upc.nSymbology = 34;  // UPC-A takes digits only
    label.Append(upc);
    const std::string file = Save();
    const std::regex warnings(
        "etiqo: [^\n]*element 2: [^\n]*/no/such/\\\\x1B\\]0;owned\\\\x07"
        "picture\\.png[^\n]*\netiqo: [^\n]*element 3: [^\n]*letters\\\\x1B\\[2J[^\n]*\n");
    const struct {
        std::vector<std::string> args;
        const char* page;
        QSize size;  // trunc(Wd) × trunc(Hd)
    } rows[] = {{{}, "page.png", {400, 639}},
                {{"--dpi", "300"}, "page.png", {591, 945}},
                {{"--dpi=203x300", "--copies", "2"}, "page-2.png", {400, 945}}};
    for (const auto& row : rows) {
        std::vector<std::string> args = {"render", file, "-o", File("page.png")};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ProcessResult run = Etiqo(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(std::regex_match(run.err, warnings)) << run.err;
        const QImage page(QString::fromStdString(File(row.page)));
        EXPECT_EQ(page.size(), row.size);
        EXPECT_EQ(page.depth(), 1);
        EXPECT_NEAR(page.dotsPerMeterY() * 0.0254, row.size.height() == 639 ? 203 : 300, 0.5);
        const std::string decoded = Output("zbarimg", {"-q", "--raw", File(row.page)});
        EXPECT_NE(decoded.find("ETQ-0001"), std::string::npos) << decoded;
        EXPECT_NE(decoded.find("二维码 标签"), std::string::npos) << decoded;
    }
}

// Copies of a serial number are pages that count, in PNG files and in one PDF whose pages are the
// label's size and carry the PNG pages' bars dot for dot (images go in losslessly, upright and
// turned); only --update writes the next number back.
TEST_F(RenderCommand, CopiesCountInPngAndPdfAlike) {
    AddBarcode("A-009", 40, kSerialIncrement);
    Element turned = MakeBarcodeElement(100, 330, "TURN-42");  // spans rows 245 to 505 when turned
    turned.nWidth = 260;
    turned.nHeight = 90;
    turned.bShowText = 0;
    turned.nEscapement = 900;
    label.Append(turned);
    Element text = MakeTextElement(20, 580, "A-009");
    text.nWidth = 200;
    text.nHeight = 40;
    text.nSerialMode = kSerialIncrement;
    label.Append(text);
    const std::string file = Save();
    const std::string saved = FileText(file);
    ASSERT_EQ(Etiqo({"render", file, "-o", File("serial.png"), "--copies", "3"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(File("serial.png")));
    EXPECT_EQ(FileText(file), saved) << "without --update the file stays as it was";
    const std::string pdf = File("labels.pdf");
    const ProcessResult run = Etiqo({"render", file, "-o", pdf, "--copies", "3", "--update"});
    ASSERT_EQ(run.status, 0) << run.err;

    const std::string info = Output("pdfinfo", {pdf});
    std::smatch match;
    const std::regex pages("Pages:\\s+3\n[\\s\\S]*Page size:\\s+([0-9.]+) x ([0-9.]+) pts");
    ASSERT_TRUE(std::regex_search(info, match, pages)) << info;
    EXPECT_NEAR(std::stod(match[1]) * 25.4 / 72, 50.0, 0.05);
    EXPECT_NEAR(std::stod(match[2]) * 25.4 / 72, 80.0, 0.05);
    EXPECT_EQ(RunProcess("pdfimages", {"-list", pdf}).out.find("jpeg"), std::string::npos);
    const std::string raster = File("pdf-page");
    ASSERT_EQ(
        RunProcess("pdftoppm", {"-r", "203", "-png", "-aa", "no", "-aaVector", "no", pdf, raster}).status, 0);
    const char* numbers[] = {"A-009", "A-010", "A-011"};
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const std::string n = std::to_string(page);
        const std::string png = File("serial-" + n + ".png");
        const std::string decoded = Output("zbarimg", {"-q", "--raw", raster + "-" + n + ".png"});
        EXPECT_EQ(Output("zbarimg", {"-q", "--raw", png}), decoded);
        EXPECT_NE(decoded.find(numbers[page - 1]), std::string::npos) << decoded;
        EXPECT_NE(decoded.find("TURN-42"), std::string::npos) << decoded;
        if (page > 1) {
            continue;
        }
        const QImage fromPng(QString::fromStdString(png));
        const QImage fromPdf(QString::fromStdString(raster + "-1.png"));
        const QRect upright = BlackBounds(fromPng.copy(0, 0, fromPng.width(), 200));
        const QRect sideways = BlackBounds(fromPng.copy(0, 200, fromPng.width(), 360));
        ASSERT_FALSE(upright.isEmpty() || sideways.isEmpty());
        const QPoint across(upright.left() - 8, upright.center().y());
        const QPoint down(sideways.center().x(), 200 + sideways.top() - 8);
        for (const auto& [from, step] : {std::pair{across, QPoint(1, 0)}, std::pair{down, QPoint(0, 1)}}) {
            const std::vector<int> expected = Runs(fromPng, from, step);
            EXPECT_GT(expected.size(), 20u);
            const std::vector<int> got = Runs(fromPdf, from, step);
            ASSERT_EQ(got.size(), expected.size()) << "from " << from.x() << "," << from.y();
            // Every bar and space alike; the PDF rasteriser may round an image's far edge outward.
            EXPECT_TRUE(std::equal(expected.begin(), expected.end() - 1, got.begin()));
            EXPECT_NEAR(got.back(), expected.back(), 1);
        }
    }
    const LabelReadResult read = ReadLabelFile(file);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(ContentUtf8(*read.contents->elements.front()), "A-012");
}

TEST_F(RenderCommand, LineEndsFollowTheDesignerWindowTheyWereDrawnIn) {
    Element line = MakeLineElement(10, 10, {1, 1});
    line.nEndX = 180;  // display pixels
    line.nEndY = 300;
    line.nPenWidth = 1;
    line.bSelected = 0;
    label.Append(line);
    const std::string file = Save();
    const struct {
        std::vector<std::string> view;
        QPoint end;
    } rows[] = {
        // A 1000 × 650 frame shows the label 375 × 600 pixels: 180 / (375 / 400.106), 300 / (600 / 639.874).
        {{}, {192, 319}},
        // A 2000 × 2000 frame shows it 800 × 1279, about two pixels a dot.
        {{"--view", "2000x2000"}, {90, 150}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"render", file, "-o", File("line.png")};
        args.insert(args.end(), row.view.begin(), row.view.end());
        ASSERT_EQ(Etiqo(args).status, 0);
        const QRect bounds = BlackBounds(QImage(QString::fromStdString(File("line.png"))));
        EXPECT_EQ(bounds.topLeft(), QPoint(10, 10));
        EXPECT_NEAR(bounds.right(), row.end.x(), 1);
        EXPECT_NEAR(bounds.bottom(), row.end.y(), 1);
    }
}

// A run stopped by a signal leaves none of its pages behind.
TEST_F(RenderCommand, AStoppedRunLeavesNothing) {
    AddBarcode("ETQ", 40);
    Save();
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const ProcessResult run = RunProcess(
            "bash", {"-c", "cd " + testing::ShellQuoted(dir.Path().string()) + " || exit 9; " +
                               testing::ShellQuoted(testing::EtiqoProgram().string()) +
                               " render label.lab -o q.png --copies 100000 & pid=$!; for i in $(seq 500); do "
                               "[ -e q-3.png ] && break; sleep 0.02; done; kill -" +
                               std::to_string(signal) + " $pid; wait $pid"});
        EXPECT_EQ(run.status, 128 + signal) << run.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    }
}

}  // namespace
}  // namespace etiqo
