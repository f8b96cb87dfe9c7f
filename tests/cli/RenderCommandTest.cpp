// etiqo render as a user runs it: label files in, PNG pages and PDF documents out.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
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
using testing::TempDir;

ProcessResult Etiqo(const std::vector<std::string>& args) {
    return RunProcess(testing::EtiqoProgram(), args);
}

ProcessResult Shell(const std::string& program, const std::vector<std::string>& args) {
    return RunProcess(program, args);
}

std::string Trimmed(std::string text) {
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '\f')) {
        text.pop_back();
    }
    return text;
}

class RenderCommand : public ::testing::Test {
protected:
    // A 50 × 80 mm label; elements added by each test.
    Label label;
    TempDir dir;

    RenderCommand() {
        label.m_nLabelWidthMM = 50;
        label.m_nLabelHeightMM = 80;
    }

    std::string Save() {
        const std::string file = (dir / "label.lab").string();
        EXPECT_TRUE(SaveLabelFile(label, file));
        return file;
    }

    Element& AddBarcode(const char* content, int y, int serialMode = kSerialNone) {
        Element e = MakeBarcodeElement(40, y, content);
        e.nWidth = 320;
        e.nHeight = 100;
        e.bShowText = 0;
        e.nSerialMode = serialMode;
        e.bSelected = 0;
        return label.Append(e);
    }
};

TEST_F(RenderCommand, PngPageIsTheLabelInOneBitDots) {
    AddBarcode("ETQ-0001", 40);
    Element qr = Make2DElement(120, 300, "二维码 标签");  // never painted: no cached symbol
    qr.nWidth = 200;
    label.Append(qr);
    const std::string out = (dir / "page.png").string();
    const ProcessResult run = Etiqo({"render", Save(), "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const QImage page(QString::fromStdString(out));
    EXPECT_EQ(page.size(), QSize(400, 639));  // trunc(Wd) × trunc(Hd) at 203 dpi
    EXPECT_EQ(page.depth(), 1);
    EXPECT_NEAR(page.dotsPerMeterX() * 0.0254, 203, 0.5);
    const ProcessResult decoded = Shell("zbarimg", {"-q", "--raw", out});
    EXPECT_NE(decoded.out.find("ETQ-0001"), std::string::npos) << decoded.out;
    EXPECT_NE(decoded.out.find("二维码 标签"), std::string::npos) << decoded.out;
}

TEST_F(RenderCommand, ResolutionSetsThePageSizeInDots) {
    AddBarcode("ETQ", 40);
    const std::string file = Save();
    const struct {
        const char* dpi;
        QSize size;
    } rows[] = {{"300", {591, 945}}, {"203x300", {400, 945}}, {"600", {1181, 1890}}};
    for (const auto& row : rows) {
        const std::string out = (dir / "dpi.png").string();
        const ProcessResult run = Etiqo({"render", file, "-o", out, "--dpi", row.dpi});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(QImage(QString::fromStdString(out)).size(), row.size) << row.dpi;
    }
}

TEST_F(RenderCommand, CopiesOfASerialNumberArePagesThatCount) {
    AddBarcode("A-009", 40, kSerialIncrement);
    const std::string file = Save();
    const std::string before = FileText(file);
    const std::string out = (dir / "serial.png").string();
    const ProcessResult run = Etiqo({"render", file, "-o", out, "--copies", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    const char* expected[] = {"A-009", "A-010", "A-011"};
    for (int page = 1; page <= 3; ++page) {
        const std::string name = (dir / ("serial-" + std::to_string(page) + ".png")).string();
        EXPECT_EQ(Trimmed(Shell("zbarimg", {"-q", "--raw", name}).out), expected[page - 1]);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileText(file), before) << "without --update the file stays as it was";
}

TEST_F(RenderCommand, PdfHasOnePagePerCopyAtTheLabelSize) {
    AddBarcode("A-009", 40, kSerialIncrement);
    const std::string file = Save();
    const std::string out = (dir / "labels.pdf").string();
    const ProcessResult run = Etiqo({"render", file, "-o", out, "--copies", "3", "--update"});
    ASSERT_EQ(run.status, 0) << run.err;

    const std::string info = Shell("pdfinfo", {out}).out;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)"))) << info;
    EXPECT_EQ(match[1], "3");
    ASSERT_TRUE(std::regex_search(info, match, std::regex("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")))
        << info;
    EXPECT_NEAR(std::stod(match[1]) * 25.4 / 72, 50.0, 0.05);
    EXPECT_NEAR(std::stod(match[2]) * 25.4 / 72, 80.0, 0.05);

    // Pages are the label's dots: each page's barcode read back from the PDF rasterised.
    const std::string raster = (dir / "copy").string();
    ASSERT_EQ(Shell("pdftoppm", {"-r", "203", "-png", "-aa", "no", out, raster}).status, 0);
    const char* expected[] = {"A-009", "A-010", "A-011"};
    for (int page = 1; page <= 3; ++page) {
        const std::string png = raster + "-" + std::to_string(page) + ".png";
        EXPECT_EQ(Trimmed(Shell("zbarimg", {"-q", "--raw", png}).out), expected[page - 1]);
    }
    // --update wrote the next number back.
    const LabelReadResult read = ReadLabelFile(file);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(ContentUtf8(*read.contents->elements.front()), "A-012");
}

// Widths of the alternating dark and light runs along a line of the image, from its first dark
// pixel to its last.
std::vector<int> Runs(const QImage& image, QPoint from, QPoint step) {
    std::vector<int> runs;
    bool dark = false;
    int trailingLight = 0;
    for (QPoint p = from; image.rect().contains(p); p += step) {
        const bool isDark = qGray(image.pixel(p)) < 128;
        if (runs.empty() && !isDark) {
            continue;
        }
        if (runs.empty() || isDark != dark) {
            runs.push_back(0);
            dark = isDark;
        }
        ++runs.back();
        trailingLight = isDark ? 0 : runs.back();
    }
    if (trailingLight > 0) {
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
        const std::string out = (dir / "line.png").string();
        std::vector<std::string> args = {"render", file, "-o", out};
        args.insert(args.end(), row.view.begin(), row.view.end());
        const ProcessResult run = Etiqo(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const QRect bounds = BlackBounds(QImage(QString::fromStdString(out)));
        EXPECT_EQ(bounds.topLeft(), QPoint(10, 10));
        EXPECT_NEAR(bounds.right(), row.end.x(), 1);
        EXPECT_NEAR(bounds.bottom(), row.end.y(), 1);
    }
}

TEST_F(RenderCommand, BadInputIsOneLineAndLeavesNoFile) {
    AddBarcode("ETQ", 40);
    const std::string file = Save();
    const std::string png = (dir / "bad.png").string();
    struct Row {
        std::vector<std::string> args;
        int status;  // 1: failed while working, 2: usage error
    };
    const std::vector<Row> rows = {
        {{"render", (dir / "missing.lab").string(), "-o", png}, 1},
        {{"render", file, "-o", (dir / "bad.jpg").string()}, 2},
        {{"render", file, "-o", png, "--dpi", "0"}, 2},
        {{"render", file, "-o", png, "--dpi", "-203"}, 2},
        {{"render", file, "-o", png, "--dpi", "203x0"}, 2},
        {{"render", file, "-o", png, "--copies", "0"}, 2},
        {{"render", file, "-o", png, "--view", "1000"}, 2},
        {{"render", file, "-o", png, "--frobnicate"}, 2},
        {{"render", file}, 2},
        {{"render", file, "-o"}, 2},
    };
    for (const auto& [args, status] : rows) {
        const ProcessResult run = Etiqo(args);
        EXPECT_EQ(run.status, status) << args.back();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("etiqo: ", 0), 0U) << run.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << args.back();
    }
}

// Output that cannot be written whole, output that is the input, and runs stopped by a signal:
// nothing but the label is left, the label is unchanged, and the message says what happened.
TEST_F(RenderCommand, OutputIsWholeOrNothingAndNeverTheInput) {
    AddBarcode("ETQ", 40);
    const std::string file = Save();
    std::filesystem::copy_file(file, dir / "lbl.png");
    std::filesystem::create_symlink("lbl.png", dir / "sym.png");
    std::filesystem::create_hard_link(dir / "lbl.png", dir / "hard.png");
    std::ofstream(dir / "d.csv") << "a\n1\n2\n";
    const std::string etiqo = testing::ShellQuoted(testing::EtiqoProgram().string());
    const std::string stopped =
        " & pid=$!; for i in $(seq 500); do [ -e q-3.png ] && break; sleep 0.02; done; kill -";
    struct Row {
        const char* name;
        std::string script;  // run by bash in the label's folder
        int status;
        const char* says;
    };
    const Row rows[] = {
        {"PNG pages over the size limit", "ulimit -f 4; " + etiqo + " render label.lab -o p.png --copies 5",
         1, "p-1.png: cannot write (File too large)"},
        {"PDF over the size limit", "ulimit -f 4; " + etiqo + " render label.lab -o p.pdf --copies 50", 1,
         "p.pdf: cannot write (File too large)"},
        {"pages from data over the size limit",
         "ulimit -f 4; " + etiqo + " render label.lab --data d.csv -o m.png", 1,
         "m-1.png: cannot write (File too large)"},
        {"output is the input", etiqo + " render lbl.png -o lbl.png", 1,
         "the output is the label file itself"},
        {"output links to the input", etiqo + " render lbl.png -o sym.png", 1,
         "sym.png: the output is the label"},
        {"output is another name of it", etiqo + " render lbl.png -o hard.png", 1, "hard.png: the output is"},
        {"a page over the pixel limit", etiqo + " render label.lab -o p.png --dpi 100000", 1,
         "more than the limit of 64000000 pixels"},
        {"copies over the limit", etiqo + " render label.lab -o p.png --copies 2147483647", 2,
         "from 1 to 1000000"},
        {"stopped by SIGTERM",
         etiqo + " render label.lab -o q.png --copies 100000" + stopped + "TERM $pid; wait $pid",
         128 + SIGTERM, ""},
        {"stopped by SIGINT",
         etiqo + " render label.lab -o q.png --copies 100000" + stopped + "INT $pid; wait $pid", 128 + SIGINT,
         ""},
    };
    const auto before = testing::FileText(dir / "lbl.png");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ProcessResult run = Shell(
            "bash", {"-c", "cd " + testing::ShellQuoted(dir.Path().string()) + " || exit 9; " + row.script});
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            left.push_back(entry.path().filename().string());
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"d.csv", "hard.png", "label.lab", "lbl.png", "sym.png"}));
        EXPECT_EQ(testing::FileText(dir / "lbl.png"), before);
    }
}

TEST_F(RenderCommand, WarningsNameTheElementAndTheLabelStillRenders) {
    AddBarcode("ETQ-1", 40);
    Element picture = ZeroElement();
    picture.nKind = ElementKind::Picture;
    picture.nWidth = picture.nHeight = 50;
    std::strcpy(picture.str, "/no/such/\x1b]0;owned\x07picture.png");  // a terminal's title escape
    label.Append(picture);
    Element upc = MakeBarcodeElement(40, 300, "letters\x1b[2J\x9b");
    upc.nSymbology = 34;  // UPC-A takes digits only
    label.Append(upc);
    const std::string out = (dir / "warned.png").string();
    const ProcessResult run = Etiqo({"render", Save(), "-o", out, "--copies", "2"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("element 1: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("element 2: "), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << "each warning once: " << run.err;
    EXPECT_NE(run.err.find("/no/such/\\x1B]0;owned\\x07picture.png"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("letters\\x1B[2J"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find_first_of("\x1b\x07"), std::string::npos) << "control characters escaped";
    EXPECT_EQ(Trimmed(Shell("zbarimg", {"-q", "--raw", (dir / "warned-2.png").string()}).out), "ETQ-1");
}

// A PDF page rasterised at the label's resolution has the PNG page's bars, dot for dot: images go
// in losslessly (no JPEG fringes), upright and turned.
TEST_F(RenderCommand, PdfBarsAreThePngPagesDots) {
    AddBarcode("A-009", 40, kSerialIncrement);
    Element turned = MakeBarcodeElement(100, 330, "TURN-42");
    turned.nWidth = 260;
    turned.nHeight = 90;
    turned.bShowText = 0;
    turned.nEscapement = 900;
    label.Append(turned);
    const std::string file = Save();
    const std::string png = (dir / "page.png").string();
    const std::string pdf = (dir / "pages.pdf").string();
    ASSERT_EQ(Etiqo({"render", file, "-o", png}).status, 0);
    ASSERT_EQ(Etiqo({"render", file, "-o", pdf, "--copies", "2"}).status, 0);

    EXPECT_EQ(Shell("pdfimages", {"-list", pdf}).out.find("jpeg"), std::string::npos);
    const std::string raster = (dir / "pdf-page").string();
    ASSERT_EQ(Shell("pdftoppm", {"-r", "203", "-png", "-aa", "no", "-aaVector", "no", pdf, raster}).status,
              0);
    const QImage fromPng(QString::fromStdString(png));
    const QImage fromPdf(QString::fromStdString(raster + "-1.png"));
    ASSERT_FALSE(fromPdf.isNull());

    const QRect upright = BlackBounds(fromPng.copy(0, 0, fromPng.width(), 200));
    const QRect sideways = BlackBounds(fromPng.copy(0, 200, fromPng.width(), fromPng.height() - 200));
    ASSERT_FALSE(upright.isEmpty());
    ASSERT_FALSE(sideways.isEmpty());
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
    const std::string decoded = Shell("zbarimg", {"-q", "--raw", raster + "-2.png"}).out;
    EXPECT_NE(decoded.find("A-010"), std::string::npos) << decoded;
    EXPECT_NE(decoded.find("TURN-42"), std::string::npos) << decoded;
}

}  // namespace
}  // namespace etiqo
