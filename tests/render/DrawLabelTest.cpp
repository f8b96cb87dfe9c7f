// DrawLabel: list order, output forms, and serial numbers stepping from page to page.

#include <gtest/gtest.h>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "print/DrawLabel.h"

#include <QPainter>

#include <cstring>

namespace etiqo::test {
namespace {

TEST(DrawLabel, SerializedTextAndBarcodeStepAfterEachPage) {
    Label label = MakeLabel(80, 40, 203);
    Element text = MakeTextElement(20, 20, "A-009");
    text.nSerialMode = kSerialIncrement;
    text.bSelected = 0;
    Element barcode = MakeBarcodeElement(20, 120, "A-009");
    barcode.nSerialMode = kSerialIncrement;
    barcode.bShowText = 0;
    barcode.nWidth = 400;
    barcode.nHeight = 100;
    barcode.bSelected = 0;
    label.Append(text);
    label.Append(barcode);
    SymbolCache symbols;
    for (const char* expected : {"A-009", "A-010", "A-011"}) {
        EXPECT_EQ(ContentBytes(*label.m_elements[1]), expected);
        const QImage page = RenderPage(label, symbols);
        EXPECT_EQ(Decode(page, Reader::Zbar), expected) << "the bars carry the page's number";
    }
    EXPECT_EQ(ContentBytes(*label.m_elements[0]), "A-012");
    EXPECT_EQ(ContentBytes(*label.m_elements[1]), "A-012");
}

TEST(DrawLabel, ReportsWhetherTheCanvasMustRepaint) {
    Label label = MakeLabel(50, 30, 203);
    Element text = MakeTextElement(20, 20, "N1");
    text.bSelected = 0;
    label.Append(text);
    SymbolCache symbols;
    QImage page(400, 240, QImage::Format_RGB32);
    QPainter painter(&page);
    EXPECT_FALSE(DrawLabel(painter, label, symbols, {1, 1}));
    label.m_elements[0]->nSerialMode = kSerialIncrement;
    EXPECT_TRUE(DrawLabel(painter, label, symbols, {1, 1}));
}

TEST(DrawLabel, LaterElementsCoverEarlierOnesAndNoGripsAppear) {
    Label label = MakeLabel(50, 30, 203);
    Element white = MakeShapeElement(10, 10);  // outline only: a shape never hides what is under it
    white.nWidth = white.nHeight = 100;
    white.nPenWidth = 1;
    Element picture = ZeroElement();
    picture.nKind = ElementKind::Picture;
    std::strcpy(picture.str, ETIQO_SOURCE_DIR "/tests/render/no-such-picture.png");
    label.Append(white);
    label.Append(picture);
    std::vector<std::string> warnings;
    SymbolCache symbols;
    QImage page(400, 240, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawLabel(painter, label, symbols, {1, 1}, [&](const std::string& w) { warnings.push_back(w); });
    painter.end();
    EXPECT_EQ(BlackBounds(page), QRect(10, 10, 100, 100)) << "selected, yet no grips on paper";
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_EQ(warnings[0].rfind("element 1: ", 0), 0U) << warnings[0];
}

}  // namespace
}  // namespace etiqo::test
