// The scan check reads back the dots a printer gets: every symbology a decoder reads passes in
// every turn at two resolutions, and the faults a user meets at the scanner are named.

#include <gtest/gtest.h>

#include <QPainter>

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

// Renders the next page as the print job does and checks it with the records as drawn on it.
struct Printer {
    SymbolCache symbols;
    LabelChecker checker;

    void Prepare(Label& label) {
        QImage screen(10, 10, QImage::Format_RGB32);
        QPainter painter(&screen);
        const RenderContext context{painter, symbols, {1, 1}, false, {1, 1}, {}};
        for (ElementPtr& e : label.m_elements) {
            PrepareForOutput(context, *e);
        }
    }
    PageCheck NextPage(Label& label) {
        const std::vector<DrawnElement> drawn = DrawnElements(label.m_elements);
        bool moved = false;
        const QImage page = RenderLabelPage(
            label,
            [this](QPainter& p, Label& l) {
                return DrawLabel(p, l, symbols, {1, 1});
            },
            moved);
        return checker.CheckPage(page, drawn);
    }
};

Element& Place(Label& label, ElementKind kind, int symbology, const char* content, QRect box, int angle = 0) {
    Element e = kind == ElementKind::Barcode ? MakeBarcodeElement(0, 0, "") : Make2DElement(0, 0, "");
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
    const char* content;
    const char* expected;
    int width = 600;  // dots at 203 dpi
    int height = 160;
    // Fitted to whole dots first: zxing does not read ITF-14 with its bars stretched unevenly
    // (zbar does).
    bool fit = false;
};

const SymbolCase kCases[] = {
    {"Code128", ElementKind::Barcode, 20, "ETIQO-12345", "ETIQO-12345"},
    {"Code128B", ElementKind::Barcode, 60, "Abc-123", "Abc-123"},
    {"Gs1128", ElementKind::Barcode, 16, "[01]12345678901231", "0112345678901231"},
    {"Ean14", ElementKind::Barcode, 72, "1234567890123", "0112345678901231"},
    {"Code39", ElementKind::Barcode, 8, "abc-123", "ABC-123"},
    {"ExtendedCode39", ElementKind::Barcode, 9, "Ab12", "Ab12"},
    {"Code32", ElementKind::Barcode, 129, "12345678", "3PRM8N"},
    {"Code93", ElementKind::Barcode, 25, "CODE93TEST", "CODE93TEST"},
    {"EanX13", ElementKind::Barcode, 13, "123456789012", "1234567890128"},
    {"EanX8", ElementKind::Barcode, 13, "1234567", "12345670"},
    {"UpcA", ElementKind::Barcode, 34, "01234567890", "012345678905"},
    {"UpcE", ElementKind::Barcode, 37, "0123456", "01234565"},
    {"Itf14", ElementKind::Barcode, 89, "1234567890123", "12345678901231", 600, 160, true},
    {"Codabar", ElementKind::Barcode, 18, "A0123456789B", "0123456789"},
    {"OwnEan13", ElementKind::Barcode, 113, "123456789012", "1234567890128", 612},
    {"QrCode", ElementKind::Code2D, 58, "https://etiqo.example/A-009", "https://etiqo.example/A-009", 300},
    {"QrCodeChinese", ElementKind::Code2D, 58, "标签打印 二维码", "标签打印 二维码", 300},
    {"Pdf417", ElementKind::Code2D, 55, "ETIQO PDF417 标签", "ETIQO PDF417 标签", 600, 240},
    {"Pdf417Truncated", ElementKind::Code2D, 56, "ETIQO", "ETIQO", 400},
    {"DataMatrix", ElementKind::Code2D, 71, "DataMatrix 数据", "DataMatrix 数据", 300},
    {"MaxiCode", ElementKind::Code2D, 57, "MAXICODE TEST 123", "MAXICODE TEST 123", 400},
};

struct Placement {
    int dpi;
    int angle;
};

class EverySymbology : public ::testing::TestWithParam<std::tuple<SymbolCase, Placement>> {};

TEST_P(EverySymbology, ReadsRight) {
    const auto& [row, placement] = GetParam();
    Label label = MakeLabel(100, 100, placement.dpi);
    const int width = row.width * placement.dpi / 203;
    const int height = row.height * placement.dpi / 203;
    const int side = static_cast<int>(LabelDots(placement.dpi, 100));
    Element& element = Place(label, row.kind, row.symbology, row.content,
                             QRect((side - width) / 2, (side - height) / 2, width, height), placement.angle);
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
}

std::string CaseName(const ::testing::TestParamInfo<EverySymbology::ParamType>& info) {
    const auto& [row, placement] = info.param;
    return std::string(row.name) + "_" + std::to_string(placement.angle) + "_" +
           std::to_string(placement.dpi);
}

INSTANTIATE_TEST_SUITE_P(Table, EverySymbology,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Placement{203, 0}, Placement{203, 900},
                                                              Placement{203, 1800}, Placement{203, 2700},
                                                              Placement{300, 0}, Placement{300, 900},
                                                              Placement{300, 1800}, Placement{300, 2700})),
                         CaseName);

// 50 × 80 mm at 203 dpi: 400 × 640 dots.
Label SmallLabel() {
    return MakeLabel(50, 80, 203);
}

TEST(ScanCheck, DenseCode128FailsUntilFittedToDots) {
    Label label = SmallLabel();
    // Thirty digits in a 35 mm box: 200 modules over 280 dots, bars of one or two dots.
    Element& code =
        Place(label, ElementKind::Barcode, 20, "123456789012345678901234567890", QRect(40, 100, 280, 100));
    Printer printer;
    const ElementCheck before = printer.NextPage(label).elements.at(0);
    EXPECT_EQ(before.result, ReadResult::DoesNotRead);
    EXPECT_GT(before.moduleSpread, 0);

    code.nWidth = WholeDotWidth(code).value_or(0);
    EXPECT_EQ(code.nWidth, 200);
    const ElementCheck after = printer.NextPage(label).elements.at(0);
    EXPECT_EQ(after.result, ReadResult::ReadsRight);
    EXPECT_EQ(after.moduleSpread, 0);
    EXPECT_EQ(after.narrowestModule, 1);
}

TEST(ScanCheck, QuietZoneCutByTheEdgeOrAnotherElement) {
    struct Row {
        const char* name;
        int x;
        bool shapeBeside;
        QuietZone expected;
        bool fails;  // a cut quiet zone is reported; the page fails when the code does not read
    } const rows[] = {
        {"clear", 40, false, QuietZone::Clear, false},
        {"half off the label", 250, false, QuietZone::CutByLabelEdge, true},
        {"shape beside the bars", 40, true, QuietZone::CutByElement, false},
    };
    for (const Row& row : rows) {
        Label label = SmallLabel();
        Place(label, ElementKind::Barcode, 20, "ETIQO-1", QRect(row.x, 100, 300, 100));
        if (row.shapeBeside) {
            Element shape = MakeShapeElement(row.x + 305, 100);
            shape.nWidth = 40;
            shape.nHeight = 60;
            shape.bSelected = 0;
            label.Append(shape);
        }
        Printer printer;
        const PageCheck page = printer.NextPage(label);
        ASSERT_EQ(page.elements.size(), 1U) << row.name;
        EXPECT_EQ(page.elements[0].quietZone, row.expected) << row.name;
        EXPECT_EQ(page.Fails(), row.fails) << row.name;
        EXPECT_EQ(CheckReason(page.elements[0]).contains(QStringLiteral("quiet zone")),
                  row.expected != QuietZone::Clear)
            << row.name;
    }
}

TEST(ScanCheck, SerializedBarcodeIsCheckedPerPageAndUnchangedCodesAreNotDecodedAgain) {
    Label label = SmallLabel();
    Element& serial = Place(label, ElementKind::Barcode, 20, "LOT-0009", QRect(40, 60, 300, 100));
    serial.nSerialMode = 1;
    Place(label, ElementKind::Code2D, 58, "https://etiqo.example", QRect(40, 300, 160, 160));
    Printer printer;
    printer.Prepare(label);
    for (const char* expected : {"LOT-0009", "LOT-0010", "LOT-0011"}) {
        const PageCheck page = printer.NextPage(label);
        ASSERT_EQ(page.elements.size(), 2U);
        EXPECT_EQ(page.elements[0].expected, expected);
        EXPECT_EQ(page.elements[0].read, expected);
        EXPECT_FALSE(page.Fails());
    }
    EXPECT_EQ(printer.checker.Decodes(), 4);  // three barcodes, one QR code
    EXPECT_EQ(std::string(ContentBytes(serial)), "LOT-0012");
}

TEST(ScanCheck, StaleSymbolReadsWrong) {
    Label label = SmallLabel();
    Element& code = Place(label, ElementKind::Barcode, 20, "ABC-1", QRect(40, 100, 300, 100));
    Printer printer;
    ASSERT_EQ(printer.NextPage(label).elements.at(0).result, ReadResult::ReadsRight);
    // The content changed without the cached bars being released.
    SetContentUtf8(code, "ABC-2");
    const ElementCheck check = printer.NextPage(label).elements.at(0);
    EXPECT_EQ(check.result, ReadResult::ReadsWrong);
    EXPECT_EQ(check.read, "ABC-1");
    EXPECT_EQ(check.expected, "ABC-2");
}

TEST(ScanCheck, SymbolsNoDecoderReadsAreNotCheckedNeverPassed) {
    Label label = SmallLabel();
    Place(label, ElementKind::Code2D, 142, "GRID", QRect(40, 40, 160, 160));
    Place(label, ElementKind::Code2D, 84, "MICRO", QRect(40, 300, 300, 100));
    Printer printer;
    printer.Prepare(label);
    const PageCheck page = printer.NextPage(label);
    ASSERT_EQ(page.elements.size(), 2U);
    for (const ElementCheck& check : page.elements) {
        EXPECT_EQ(check.result, ReadResult::NotChecked);
        EXPECT_FALSE(check.Passes());
    }
    EXPECT_FALSE(page.Fails());
}

TEST(ScanCheck, HostileBoxesAreCheckedWithinThePage) {
    Label label = SmallLabel();
    Place(label, ElementKind::Barcode, 20, "FAR", QRect(-5000000, 10, 4000000, 100));
    Place(label, ElementKind::Barcode, 20, "HUGE", QRect(0, 0, 4000000, 3000000));
    Place(label, ElementKind::Code2D, 71, "WIDE", QRect(10, 10, 3000000, 10));
    Printer printer;
    printer.Prepare(label);
    const PageCheck page = printer.NextPage(label);
    ASSERT_EQ(page.elements.size(), 3U);
    EXPECT_EQ(page.elements[0].result, ReadResult::DoesNotRead);
    EXPECT_EQ(page.elements[0].quietZone, QuietZone::CutByLabelEdge);
    EXPECT_TRUE(page.Fails());
}

}  // namespace
}  // namespace etiqo::test
