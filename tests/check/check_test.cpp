// What a scanner reads from the dots a printer gets: every symbology, upright and in each quarter
// turn at two resolutions, read by zbarimg, ZXingReader and the program's own scan check from the
// same page; and the faults the scan check names.

#include <gtest/gtest.h>

#include <QPainter>
#include <QTransform>

#include <functional>
#include <string>

#include "RenderSupport.h"
#include "check/CheckText.h"
#include "check/LabelChecker.h"
#include "model/ElementFactory.h"
#include "print/DrawLabel.h"
#include "print/LabelPage.h"
#include "render/ElementRenderer.h"
#include "render/SymbolGeometry.h"

namespace etiqo::test {
namespace {

using enum ElementKind;

// Prints pages as the print job does and checks each with the records as drawn on it.
struct Printer {
    SymbolCache symbols;
    LabelChecker checker;
    QImage page;  // the last one

    // What the designer's first paint does: output draws a 2D symbol only from what it encoded.
    void Prepare(Label& label) {
        QImage screen(10, 10, QImage::Format_RGB32);
        QPainter painter(&screen);
        const RenderContext context{painter, symbols, {1, 1}, false, {1, 1}, {}};
        for (ElementPtr& e : label.m_elements) {
            PrepareForOutput(context, *e);
        }
    }
    bool Draw(QPainter& painter, Label& label) { return DrawLabel(painter, label, symbols, {1, 1}); }
    PageCheck NextPage(Label& label) {
        const std::vector<DrawnElement> drawn = DrawnElements(label.m_elements);
        bool moved = false;
        page = RenderLabelPage(label, std::bind_front(&Printer::Draw, this), moved);
        return checker.CheckPage(page, drawn);
    }
};

Element& Place(Label& label, ElementKind kind, int symbology, const char* content, QRect box, int angle = 0) {
    Element e = kind == Barcode  ? MakeBarcodeElement(0, 0, "")
                : kind == Code2D ? Make2DElement(0, 0, "")
                                 : MakeShapeElement(0, 0);
    e.nSymbology = symbology;
    SetContentUtf8(e, content);
    e.nPosX = box.x();
    e.nPosY = box.y();
    e.nWidth = box.width();
    e.nHeight = box.height();
    e.nEscapement = angle;
    e.bSelected = 0;
    return label.Append(e);
}

struct SymbolCase {
    const char* name;
    ElementKind kind;
    int symbology;
    const char* content;   // UTF-8
    const char* expected;  // what the scan check reads
    const char* zbar;      // what zbarimg reads; nullptr where it reads no such symbol
    int width = 600;       // dots at 203 dpi, scaled with the resolution
    int height = 160;
    // Fitted to whole dots first: zxing does not read ITF-14 with its bars stretched unevenly
    // (zbar does).
    bool fit = false;
    const char* zxing = nullptr;  // what ZXingReader reads where the scan check reads otherwise
};

const SymbolCase kCases[] = {
    {"Code128", Barcode, 20, "ETIQO-12345", "ETIQO-12345", "ETIQO-12345"},
    {"Code128B", Barcode, 60, "Abc-123", "Abc-123", "Abc-123"},
    {"Gs1128", Barcode, 16, "[01]12345678901231", "0112345678901231", "0112345678901231"},
    {"Ean14", Barcode, 72, "1234567890123", "0112345678901231", "0112345678901231"},
    {"Code39", Barcode, 8, "abc-123", "ABC-123", "ABC-123"},
    {"ExtendedCode39", Barcode, 9, "Ab12", "Ab12", "A+B12", 600, 160, false, "A+B12"},
    {"Code32", Barcode, 129, "12345678", "3PRM8N", "3PRM8N"},
    {"Code93", Barcode, 25, "CODE93TEST", "CODE93TEST", "CODE93TEST"},
    {"EanX13", Barcode, 13, "123456789012", "1234567890128", "1234567890128"},
    {"EanX8", Barcode, 13, "1234567", "12345670", "12345670"},
    {"UpcA", Barcode, 34, "01234567890", "012345678905", "0012345678905"},
    {"UpcE", Barcode, 37, "0123456", "01234565", "0012345000065"},
    {"Itf14", Barcode, 89, "1234567890123", "12345678901231", "12345678901231", 600, 160, true},
    {"Codabar", Barcode, 18, "A0123456789B", "0123456789", "A0123456789B"},
    {"OwnEan13", Barcode, 113, "123456789012", "1234567890128", "1234567890128", 612},
    {"QrCode", Code2D, 58, "https://etiqo.example/A-009", "https://etiqo.example/A-009",
     "https://etiqo.example/A-009", 300},
    {"QrCodeChinese", Code2D, 58, "标签打印 二维码", "标签打印 二维码", "标签打印 二维码", 300},
    {"Pdf417", Code2D, 55, "ETIQO PDF417 标签", "ETIQO PDF417 标签", nullptr, 600, 240},
    {"Pdf417Truncated", Code2D, 56, "ETIQO", "ETIQO", nullptr, 400},
    {"DataMatrix", Code2D, 71, "DataMatrix 数据", "DataMatrix 数据", nullptr, 300},
    {"MaxiCode", Code2D, 57, "MAXICODE TEST 123", "MAXICODE TEST 123", nullptr, 400},
};

class EverySymbology : public ::testing::TestWithParam<std::tuple<SymbolCase, int, int>> {};

TEST_P(EverySymbology, ReadsAsItsContent) {
    const auto& [row, dpi, angle] = GetParam();
    Label label = MakeLabel(100, 100, dpi);
    const int width = row.width * dpi / 203;
    const int height = row.height * dpi / 203;
    const int side = static_cast<int>(LabelDots(dpi, 100));
    Element& element = Place(label, row.kind, row.symbology, row.content,
                             QRect((side - width) / 2, (side - height) / 2, width, height), angle);
    if (row.fit) {
        element.nWidth = WholeDotWidth(element).value_or(0);
    }
    Printer printer;
    printer.Prepare(label);
    const PageCheck page = printer.NextPage(label);
    ASSERT_EQ(page.elements.size(), 1U);
    const ElementCheck& check = page.elements.front();
    EXPECT_EQ(check.result, ReadResult::ReadsRight)
        << "read \"" << check.read << "\", module " << check.narrowestModule << " spread "
        << check.moduleSpread;
    EXPECT_EQ(check.expected, row.expected);
    EXPECT_EQ(check.quietZone, QuietZone::Clear);
    EXPECT_GT(check.narrowestModule, 0);
    EXPECT_FALSE(page.Fails());

    if (row.zbar) {
        EXPECT_EQ(Decode(printer.page, Reader::Zbar), row.zbar) << "zbarimg";
    }
    // ZXingReader finds MaxiCode only upright; zint turned it clockwise by the angle.
    const bool upright = row.symbology == 57;
    EXPECT_EQ(Decode(upright ? printer.page.transformed(QTransform().rotate(-angle / 10.0)) : printer.page,
                     Reader::ZXing),
              row.zxing ? row.zxing : row.expected)
        << "ZXingReader";
}

std::string CaseName(const ::testing::TestParamInfo<EverySymbology::ParamType>& info) {
    const auto& [row, dpi, angle] = info.param;
    return std::string(row.name) + "_" + std::to_string(angle) + "_" + std::to_string(dpi);
}

INSTANTIATE_TEST_SUITE_P(Table, EverySymbology,
                         ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Values(203, 300),
                                            ::testing::Values(0, 900, 1800, 2700)),
                         CaseName);

// On a 50 × 80 mm label at 203 dpi (400 × 640 dots); each code read as it says, a shape not read.
TEST(ScanCheck, FaultsAUserMeetsAtTheScanner) {
    using enum ReadResult;
    using enum QuietZone;
    struct Placed {
        int symbology;  // 20: Code 128, 0: a shape
        const char* content;
        QRect box;
        ReadResult result = NotChecked;
        QuietZone quietZone = Clear;
        bool uneven = false;  // reported: bars of one module count differ in width
        bool fit = false;     // fitted to whole dots
    };
    const char* const code = "ETIQO-1";
    const char* const dense = "123456789012345678901234567890";  // 200 modules: 1 or 2 dots in 280
    const std::pair<const char*, std::vector<Placed>> rows[] = {
        {"clear", {{20, code, {40, 100, 300, 100}, ReadsRight}}},
        {"half off the label", {{20, code, {250, 100, 300, 100}, DoesNotRead, CutByLabelEdge, true}}},
        {"shape by the bars",
         {{20, code, {40, 100, 300, 100}, ReadsRight, CutByElement}, {0, "", {345, 100, 40, 60}}}},
        {"too dense", {{20, dense, {40, 100, 280, 100}, DoesNotRead, Clear, true}}},
        {"too dense, fitted to dots", {{20, dense, {40, 100, 280, 100}, ReadsRight, Clear, false, true}}},
        {"symbols no decoder here reads",
         {{142, "GRID", {40, 40, 160, 160}}, {84, "MICRO", {40, 300, 300, 100}}}},
        {"hostile boxes",
         {{20, "FAR", {-5000000, 10, 4000000, 100}, DoesNotRead, CutByLabelEdge},
          {20, "HUGE", {0, 0, 4000000, 3000000}, DoesNotRead, CutByLabelEdge},
          {71, "WIDE", {10, 10, 3000000, 10}, DoesNotRead, CutByLabelEdge}}},
    };
    for (const auto& [name, placed] : rows) {
        SCOPED_TRACE(name);
        Label label = MakeLabel(50, 80, 203);
        std::vector<Placed> codes;
        for (const Placed& p : placed) {
            const ElementKind kind = p.symbology == 0 ? Shape : p.symbology == 20 ? Barcode : Code2D;
            Element& e = Place(label, kind, p.symbology, p.content, p.box);
            e.nWidth = p.fit ? WholeDotWidth(e).value_or(0) : e.nWidth;
            if (p.symbology != 0) {
                codes.push_back(p);
            }
        }
        Printer printer;
        printer.Prepare(label);
        const PageCheck page = printer.NextPage(label);
        ASSERT_EQ(page.elements.size(), codes.size());
        bool fails = false;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const ElementCheck& check = page.elements[i];
            EXPECT_EQ(check.result, codes[i].result) << i;
            EXPECT_EQ(check.quietZone, codes[i].quietZone) << i;
            EXPECT_EQ(CheckReason(check).contains(QStringLiteral("quiet zone")), codes[i].quietZone != Clear);
            EXPECT_EQ(CheckReason(check).contains(QStringLiteral("uneven bars")), codes[i].uneven);
            EXPECT_EQ(check.Passes(), codes[i].result == ReadsRight);
            fails = fails || (codes[i].result != ReadsRight && codes[i].result != NotChecked);
        }
        EXPECT_EQ(page.Fails(), fails);
        if (placed[0].fit) {
            EXPECT_EQ(label.m_elements[0]->nWidth, 200);
            EXPECT_EQ(page.elements[0].moduleSpread, 0);
        }
    }
}

// A serialized code is checked with each page's own number; an unchanged one is not decoded again,
// and one whose content changed while its cached symbol did not reads wrong.
TEST(ScanCheck, EachPageIsCheckedWithItsOwnContent) {
    Label label = MakeLabel(50, 80, 203);
    Element& serial = Place(label, Barcode, 20, "LOT-0009", QRect(40, 60, 300, 100));
    serial.nSerialMode = 1;
    Element& plain = Place(label, Barcode, 20, "ABC-1", QRect(40, 300, 300, 100));
    Printer printer;
    printer.Prepare(label);
    for (const char* expected : {"LOT-0009", "LOT-0010", "LOT-0011"}) {
        const PageCheck page = printer.NextPage(label);
        ASSERT_EQ(page.elements.size(), 2U);
        EXPECT_EQ(page.elements[0].expected, expected);
        EXPECT_EQ(page.elements[0].read, expected);
        EXPECT_FALSE(page.Fails());
    }
    EXPECT_EQ(printer.checker.Decodes(),
              4);  // three serials, the unchanged code once
    EXPECT_EQ(std::string(ContentBytes(serial)), "LOT-0012");

    SetContentUtf8(plain, "ABC-2");
    const ElementCheck stale = printer.NextPage(label).elements.at(1);
    EXPECT_EQ(stale.result, ReadResult::ReadsWrong);
    EXPECT_EQ(stale.read, "ABC-1");
    EXPECT_EQ(stale.expected, "ABC-2");
}

}  // namespace
}  // namespace etiqo::test
