// DrawLabel: list order, output forms, and serial numbers stepping from page to page.

#include <gtest/gtest.h>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "print/DrawLabel.h"
#include "render/ElementRenderer.h"

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

TEST(DrawLabel, UprightTextNeverShownPrintsUpright) {
    Label label = MakeLabel(50, 30, 203);
    Element text = MakeTextElement(20, 20, "ETIQO 12345");
    text.bSelected = 0;
    text.nWidth = 300;
    text.nHeight = 40;
    text.lfFont.lfEscapement = 900;  // left over from a turn, never reset by a screen paint
    label.Append(text);
    SymbolCache symbols;
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter screen(&scratch);
    PrepareForOutput(RenderContext{screen, symbols, {0.94, 0.94}, false, {0.94, 0.94}, {}},
                     *label.m_elements[0]);
    screen.end();
    const QRect ink = BlackBounds(RenderPage(label, symbols));
    EXPECT_GT(ink.width(), 3 * ink.height()) << "drawn across, as the screen shows it";
    EXPECT_TRUE(QRect(20, 20, 300, 40).contains(ink)) << ink.x() << "," << ink.y();
}

}  // namespace
}  // namespace etiqo::test
