// etiqo render as a user runs it: label files in, PNG pages and PDF documents out, read back with
// Qt, the barcode decoders and poppler's tools.

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

using testing::FileText;
using testing::ProcessResult;
using testing::RunProcess;
using testing::TempDir;

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
        const bool isDark = test::IsBlack(image, p.x(), p.y());
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

// A 50 × 80 mm label (400 × 639 dots at 203 dpi) of the elements, saved as label.lab in dir.
std::string SaveLabel(const TempDir& dir, const std::vector<Element>& elements) {
    Label label;
    label.SetLabelSize(50, 80);
    for (const Element& e : elements) {
        label.Append(e);
    }
    EXPECT_TRUE(SaveLabelFile(label, dir / "label.lab"));
    return (dir / "label.lab").string();
}

Element Bars(const char* content, int y, int serialMode = kSerialNone) {
    Element e = MakeBarcodeElement(40, y, content);
    std::tie(e.nWidth, e.nHeight, e.bShowText, e.nSerialMode, e.bSelected) =
        std::tuple(320, 100, 0, serialMode, 0);
    return e;
}

// Every page is the label in 1-bit dots at the resolution asked for; an element that cannot be
// drawn is named once on stderr (its text made harmless to a terminal) and the rest still renders.
TEST(RenderCommand, PngPageIsTheLabelInOneBitDotsAtEachResolution) {
    TempDir dir;
    const auto in = [&](const std::string& name) { return (dir / name).string(); };
    Element qr = Make2DElement(120, 300, "二维码 标签");  // never painted: no cached symbol
    qr.nWidth = 200;
    Element picture = ZeroElement();
    std::tie(picture.nKind, picture.nWidth, picture.nHeight) = std::tuple(ElementKind::Picture, 50, 50);
    std::strcpy(picture.str, "/no/such/\x1b]0;owned\x07picture.png");  // a terminal's title escape
    Element upc = MakeBarcodeElement(40, 540, "letters\x1b[2J\x9b");
    upc.nSymbology = 34;  // UPC-A takes digits only
    const std::string file = SaveLabel(dir, {Bars("ETQ-0001", 40), qr, picture, upc});
    const std::regex warnings(
        "etiqo: [^\n]*element 2: [^\n]*/no/such/\\\\x1B\\]0;owned\\\\x07"
        "picture\\.png[^\n]*\netiqo: [^\n]*element 3: [^\n]*letters\\\\x1B\\[2J[^\n]*\n");
    // clang-format off
    const struct { std::vector<std::string> args; const char* page; QSize size; } rows[] = {  // trunc(Wd) × trunc(Hd)
        {{}, "page.png", {400, 639}}, {{"--dpi", "300"}, "page.png", {591, 945}}, {{"--dpi=203x300", "--copies", "2"}, "page-2.png", {400, 945}}};
    // clang-format on
    for (const auto& row : rows) {
        std::vector<std::string> args = {"render", file, "-o", in("page.png")};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ProcessResult run = Etiqo(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(std::regex_match(run.err, warnings)) << run.err;
        const QImage page(QString::fromStdString(in(row.page)));
        EXPECT_EQ(page.size(), row.size);
        EXPECT_EQ(page.depth(), 1);
        EXPECT_NEAR(page.dotsPerMeterY() * 0.0254, row.size.height() == 639 ? 203 : 300, 0.5);
        const std::string decoded = Output("zbarimg", {"-q", "--raw", in(row.page)});
        EXPECT_NE(decoded.find("ETQ-0001"), std::string::npos) << decoded;
        EXPECT_NE(decoded.find("二维码 标签"), std::string::npos) << decoded;
    }
}

// Copies of a serial number are pages that count, in PNG files and in one PDF whose pages are the
// label's size and carry the PNG pages' bars dot for dot (images go in losslessly, upright and
// turned); only --update writes the next number back.
TEST(RenderCommand, CopiesCountInPngAndPdfAlike) {
    TempDir dir;
    const auto in = [&](const std::string& name) { return (dir / name).string(); };
    Element turned = MakeBarcodeElement(100, 330, "TURN-42");  // spans rows 245 to 505 when turned
    std::tie(turned.nWidth, turned.nHeight, turned.bShowText, turned.nEscapement) =
        std::tuple(260, 90, 0, 900);
    Element text = MakeTextElement(20, 580, "A-009");
    std::tie(text.nWidth, text.nHeight, text.nSerialMode) = std::tuple(200, 40, kSerialIncrement);
    const std::string file = SaveLabel(dir, {Bars("A-009", 40, kSerialIncrement), turned, text});
    const std::string saved = FileText(file);
    ASSERT_EQ(Etiqo({"render", file, "-o", in("serial.png"), "--copies", "3"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(in("serial.png")));
    EXPECT_EQ(FileText(file), saved) << "without --update the file stays as it was";
    const std::string pdf = in("labels.pdf");
    const ProcessResult run = Etiqo({"render", file, "-o", pdf, "--copies", "3", "--update"});
    ASSERT_EQ(run.status, 0) << run.err;

    const std::string info = Output("pdfinfo", {pdf});
    std::smatch match;
    const std::regex pages("Pages:\\s+3\n[\\s\\S]*Page size:\\s+([0-9.]+) x ([0-9.]+) pts");
    ASSERT_TRUE(std::regex_search(info, match, pages)) << info;
    EXPECT_NEAR(std::stod(match[1]) * 25.4 / 72, 50.0, 0.05);
    EXPECT_NEAR(std::stod(match[2]) * 25.4 / 72, 80.0, 0.05);
    EXPECT_EQ(RunProcess("pdfimages", {"-list", pdf}).out.find("jpeg"), std::string::npos);
    const std::string raster = in("pdf-page");
    ASSERT_EQ(
        RunProcess("pdftoppm", {"-r", "203", "-png", "-aa", "no", "-aaVector", "no", pdf, raster}).status, 0);
    const char* numbers[] = {"A-009", "A-010", "A-011"};
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const std::string n = std::to_string(page);
        const std::string png = in("serial-" + n + ".png");
        const std::string decoded = Output("zbarimg", {"-q", "--raw", raster + "-" + n + ".png"});
        EXPECT_EQ(Output("zbarimg", {"-q", "--raw", png}), decoded);
        EXPECT_NE(decoded.find(numbers[page - 1]), std::string::npos) << decoded;
        EXPECT_NE(decoded.find("TURN-42"), std::string::npos) << decoded;
        if (page > 1) {
            continue;
        }
        const QImage fromPng(QString::fromStdString(png));
        const QImage fromPdf(QString::fromStdString(raster + "-1.png"));
        const QRect upright = test::BlackBounds(fromPng.copy(0, 0, fromPng.width(), 200));
        const QRect sideways = test::BlackBounds(fromPng.copy(0, 200, fromPng.width(), 360));
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

TEST(RenderCommand, LineEndsFollowTheDesignerWindowTheyWereDrawnIn) {
    TempDir dir;
    const auto in = [&](const std::string& name) { return (dir / name).string(); };
    Element line = MakeLineElement(10, 10, {1, 1});  // its end in display pixels
    std::tie(line.nEndX, line.nEndY, line.nPenWidth, line.bSelected) = std::tuple(180, 300, 1, 0);
    const std::string file = SaveLabel(dir, {line});
    // A 1000 × 650 frame (the default) shows the label 375 × 600 pixels: 180 / (375 / 400.106),
    // 300 / (600 / 639.874); a 2000 × 2000 one shows it 800 × 1279, about two pixels a dot.
    for (const auto& [option, end] :
         {std::pair{"--dpi=203", QPoint(192, 319)}, std::pair{"--view=2000x2000", QPoint(90, 150)}}) {
        ASSERT_EQ(Etiqo({"render", file, "-o", in("line.png"), option}).status, 0);
        const QRect bounds = test::BlackBounds(QImage(QString::fromStdString(in("line.png"))));
        EXPECT_EQ(bounds.topLeft(), QPoint(10, 10));
        EXPECT_NEAR(bounds.right(), end.x(), 1);
        EXPECT_NEAR(bounds.bottom(), end.y(), 1);
    }
}

}  // namespace
}  // namespace etiqo
