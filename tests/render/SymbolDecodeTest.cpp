// Every symbology a user can pick, drawn for output the way a printer gets it, upright and in
// each quarter turn, at two printer resolutions, must read back as its content.

#include <gtest/gtest.h>

#include <string>

#include <QPainter>
#include <QTransform>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "render/ElementRenderer.h"

namespace etiqo::test {
namespace {

struct SymbolCase {
    const char* name;
    ElementKind kind;
    int symbology;
    const char* content;  // UTF-8
    const char* expected;
    Reader reader;
    int width = 600;  // dots at 203 dpi; scaled with the resolution
    int height = 160;
    // ZXing reads MaxiCode only upright: the page is turned back before reading, which still
    // checks that the symbol was drawn whole and turned the right way.
    bool readUpright = false;
};

const SymbolCase kCases[] = {
    {"Code128", ElementKind::Barcode, 20, "ETIQO-12345", "ETIQO-12345", Reader::Zbar},
    {"Code128B", ElementKind::Barcode, 60, "Abc-123", "Abc-123", Reader::Zbar},
    {"Code39", ElementKind::Barcode, 8, "ABC-123", "ABC-123", Reader::Zbar},
    {"ExtendedCode39", ElementKind::Barcode, 9, "AB12", "AB12", Reader::Zbar},
    {"Code93", ElementKind::Barcode, 25, "CODE93TEST", "CODE93TEST", Reader::Zbar},
    {"EanX", ElementKind::Barcode, 13, "123456789012", "1234567890128", Reader::Zbar},
    {"UpcA", ElementKind::Barcode, 34, "01234567890", "0012345678905", Reader::Zbar},
    {"UpcE", ElementKind::Barcode, 37, "0123456", "0012345000065", Reader::Zbar},
    {"Itf14", ElementKind::Barcode, 89, "1234567890123", "12345678901231", Reader::Zbar},
    {"Codabar", ElementKind::Barcode, 18, "A0123456789B", "A0123456789B", Reader::Zbar},
    {"OwnEan13", ElementKind::Barcode, 113, "123456789012", "1234567890128", Reader::Zbar, 612},
    {"QrCode", ElementKind::Code2D, 58, "https://etiqo.example/A-009", "https://etiqo.example/A-009",
     Reader::Zbar, 300},
    {"QrCodeChinese", ElementKind::Code2D, 58, "标签打印 二维码", "标签打印 二维码", Reader::Zbar, 300},
    {"Pdf417", ElementKind::Code2D, 55, "ETIQO PDF417 标签", "ETIQO PDF417 标签", Reader::ZXing, 600, 240},
    {"Pdf417Truncated", ElementKind::Code2D, 56, "ETIQO", "ETIQO", Reader::ZXing, 400},
    {"DataMatrix", ElementKind::Code2D, 71, "DataMatrix 数据", "DataMatrix 数据", Reader::ZXing, 300},
    {"MaxiCode", ElementKind::Code2D, 57, "MAXICODE TEST 123", "MAXICODE TEST 123", Reader::ZXing, 400, 160,
     true},
};

struct Placement {
    int dpi;
    int angle;
};

class SymbolDecode : public ::testing::TestWithParam<std::tuple<SymbolCase, Placement>> {};

TEST_P(SymbolDecode, ReadsBackAsContent) {
    const auto& [row, placement] = GetParam();
    Label label = MakeLabel(100, 100, placement.dpi);
    const int width = row.width * placement.dpi / 203;
    const int height = row.height * placement.dpi / 203;
    const int side = static_cast<int>(LabelDots(placement.dpi, 100));
    Element element =
        row.kind == ElementKind::Barcode ? MakeBarcodeElement(0, 0, "") : Make2DElement(0, 0, "");
    element.nSymbology = row.symbology;
    SetContentUtf8(element, row.content);
    element.nWidth = width;
    element.nHeight = height;
    element.nPosX = (side - width) / 2;
    element.nPosY = (side - height) / 2;
    element.nEscapement = placement.angle;
    element.bSelected = 0;
    label.Append(element);

    SymbolCache symbols;
    if (row.kind == ElementKind::Code2D) {
        // Output draws a 2D symbol only from what the screen encoded.
        QImage screen(10, 10, QImage::Format_RGB32);
        QPainter painter(&screen);
        RenderContext context{painter, symbols, {1, 1}, false, {1, 1}, {}};
        PrepareForOutput(context, *label.m_elements.front());
    }
    QImage page = RenderPage(label, symbols);
    if (row.readUpright) {
        // zint turned the symbol clockwise by the angle.
        page = page.transformed(QTransform().rotate(-placement.angle / 10.0));
    }
    EXPECT_EQ(Decode(page, row.reader), row.expected)
        << row.name << " at " << placement.angle << ", " << placement.dpi << " dpi";
}

std::string CaseName(const ::testing::TestParamInfo<SymbolDecode::ParamType>& info) {
    const auto& [row, placement] = info.param;
    return std::string(row.name) + "_" + std::to_string(placement.angle) + "_" +
           std::to_string(placement.dpi);
}

INSTANTIATE_TEST_SUITE_P(AllSymbologies, SymbolDecode,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Placement{203, 0}, Placement{203, 900},
                                                              Placement{203, 1800}, Placement{203, 2700},
                                                              Placement{300, 0}, Placement{300, 900},
                                                              Placement{300, 1800}, Placement{300, 2700})),
                         CaseName);

}  // namespace
}  // namespace etiqo::test
