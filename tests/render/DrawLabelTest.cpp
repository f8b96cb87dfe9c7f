// DrawLabel: list order, output forms, and serial numbers stepping from page to page (a barcode
// read back page by page: check_tests).

#include <gtest/gtest.h>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "print/DrawLabel.h"
#include "render/ElementRenderer.h"

#include <QPainter>

#include <cstring>

namespace etiqo::test {
namespace {

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
    EXPECT_EQ(ContentBytes(*label.m_elements[0]), "N2") << "a text steps after its page too";
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
