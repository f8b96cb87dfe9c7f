// Pixel checks of where each kind of element lands on paper and of what the screen adds; DrawLabel's
// list order and serial numbers (a barcode read back page by page: check_tests).

#include <gtest/gtest.h>

#include <cstring>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"

namespace etiqo::test {
namespace {

Element Boxed(Element e, int width, int height, int angle = 0) {
    std::tie(e.nWidth, e.nHeight, e.nEscapement, e.bSelected) = std::tuple(width, height, angle, 0);
    return e;
}

Element Shape(int type, int x = 100, int y = 100) {
    Element e = MakeShapeElement(x, y);
    std::tie(e.nPenWidth, e.nShapeType, e.nEndX) = std::tuple(1, type, -1);
    return e;
}

Element Barcode(int symbology, const char* content, bool showText = false) {
    Element e = symbology == 58 || symbology == 71 || symbology == 55 ? Make2DElement(20, 20, content)
                                                                      : MakeBarcodeElement(40, 40, content);
    std::tie(e.nSymbology, e.bShowText) = std::tuple(symbology, showText);
    return e;
}

// Rows at least 90 % black across the ink: underlines and strike-outs.
int LongRuns(const QImage& image) {
    const QRect ink = BlackBounds(image);
    int rows = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        rows += CountBlack(image, QRect(ink.left(), y, ink.width(), 1)) >= 0.9 * ink.width() ? 1 : 0;
    }
    return rows;
}

// The ink printed: within `box` grown by 2 dots, each edge within `slack` of the box's.
TEST(ElementDrawing, InkFillsTheBoxOnPaper) {
    const Element text = Boxed(MakeTextElement(20, 20, "ETIQO 1"), 600, 200);
    Element decorated = text;
    decorated.lfFont.lfUnderline = decorated.lfFont.lfStrikeOut = 1;
    Element unknownFace = Boxed(MakeTextElement(20, 20, "Mixed 标签"), 300, 50);
    SetFaceName(unknownFace.lfFont, "No Such Face", Overflow::Cut);
    Element line = MakeLineElement(10, 10, {2.0, 2.0});  // its end in display pixels, at 2 a dot
    std::tie(line.nEndX, line.nEndY, line.nPenWidth, line.bSelected) = std::tuple(200, 100, 1, 0);
    const QMargins textSlack(10, 20, 20, 20), largeSlack(20, 80, 30, 80), symbolSlack(0, 0, 10, 10);
    // screenFirst: a 2D symbol is encoded by the screen paint, never by output; barHeight: Code 128
    // starts with a bar, its first column's black run; decorated: rows of ink across a text.
    // clang-format off
    const struct { const char* name; Element element; QRect box; QMargins slack; bool decorated = false, screenFirst = false; int barHeight = 0; } rows[] = {
        // A 100 × 40 box at (100, 100): turned a quarter either way it is 40 × 100 about the same centre.
        {"rectangle", Boxed(Shape(kShapeRectangle), 100, 40), {100, 100, 100, 40}, {}},
        {"upside down", Boxed(Shape(kShapeRectangle), 100, 40, 1800), {100, 100, 100, 40}, {}},
        {"quarter", Boxed(Shape(kShapeRectangle), 100, 40, 900), {130, 70, 40, 100}, {}},
        {"three quarters", Boxed(Shape(kShapeRectangle), 100, 40, 2700), {130, 70, 40, 100}, {}},
        {"backwards", Boxed(Shape(kShapeRectangle), 100, 40, -900), {130, 70, 40, 100}, {}},
        {"ellipse", Boxed(Shape(kShapeEllipse), 100, 40, 900), {130, 70, 40, 100}, {2, 2, 2, 2}},
        {"line end divided by the display scale", line, {QPoint(10, 10), QPoint(100, 50)}, {}},
        {"bars: the box height less two", Boxed(Barcode(20, "ETIQO123"), 300, 80), {40, 40, 300, 78}, {}, false, false, 78},
        {"bars above a caption", Boxed(Barcode(20, "ETIQO123", true), 300, 80), {40, 40, 300, 80}, {0, 0, 0, 4}, false, false, 80 - 20 - 2},
        {"missing picture", *MakePictureElement(10, 10, "/nonexistent/logo.png", 100, 50), {}, {}},
        {"QR code: square", Boxed(Barcode(58, "ETIQO"), 100, 60), {20, 20, 100, 100}, symbolSlack, false, true},
        {"Data Matrix: square", Boxed(Barcode(71, "ETIQO"), 100, 60), {20, 20, 100, 100}, symbolSlack, false, true},
        {"PDF417: its box", Boxed(Barcode(55, "ETIQO"), 100, 60), {20, 20, 100, 60}, symbolSlack, false, true},
        {"2D symbol the screen never encoded", Boxed(Barcode(58, "ETIQO"), 100, 60), {}, {}},
        {"text", Boxed(MakeTextElement(20, 20, "Etiqo 12345"), 300, 50), {20, 20, 300, 50}, textSlack},
        {"Chinese text", Boxed(MakeTextElement(20, 20, "标签打印"), 300, 50), {20, 20, 300, 50}, textSlack},
        {"mixed text, a face not installed", unknownFace, {20, 20, 300, 50}, textSlack},
        {"large text", text, {20, 20, 600, 200}, largeSlack},
        {"underlined, struck out", decorated, {20, 20, 600, 200}, largeSlack, true},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SymbolCache symbols;
        Element e = row.element;
        if (row.screenFirst) {
            RenderElement(e, symbols, 10, 10, false);
        }
        const QImage out = RenderElement(e, symbols, 700, 300, true, {2.0, 2.0});
        const QRect ink = BlackBounds(out);
        if (row.box.isEmpty()) {
            EXPECT_TRUE(ink.isEmpty());
            continue;
        }
        EXPECT_TRUE(row.box.adjusted(-2, -2, 2, 2).contains(ink));
        EXPECT_LE(ink.left() - row.box.left(), row.slack.left());
        EXPECT_LE(ink.top() - row.box.top(), row.slack.top());
        EXPECT_LE(row.box.right() - ink.right(), row.slack.right());
        EXPECT_LE(row.box.bottom() - ink.bottom(), row.slack.bottom());
        if (e.nKind == ElementKind::Text) {
            EXPECT_EQ(LongRuns(out) >= 4, row.decorated);
            EXPECT_EQ(e.lfFont.lfHeight, e.nHeight) << "the output font fills the box";
            EXPECT_EQ(e.lfFont.lfWidth, e.nWidth / static_cast<int>(ContentBytes(e).size()));
        }
        if (row.barHeight > 0) {  // the first column: a bar of that height, then white
            EXPECT_EQ(CountBlack(out, QRect(row.box.left(), row.box.top(), 1, row.barHeight + 1)),
                      row.barHeight);
        }
        if (e.nKind == ElementKind::Shape && e.nShapeType == kShapeRectangle) {
            EXPECT_EQ(CountBlack(out, ink.adjusted(2, 2, -2, -2)), 0) << "a shape is never filled";
        }
    }
}

// What the screen adds: grips, written back; a new text's measured size; its own glyphs.
TEST(ElementDrawing, ScreenAddsGripsAndMeasuresNewText) {
    SymbolCache symbols;
    Element e = Boxed(Shape(kShapeRectangle, 50, 40), 100, 60);
    e.bSelected = 1;
    EXPECT_EQ(BlackBounds(RenderElement(e, symbols, 400, 300, true)), QRect(50, 40, 100, 60))
        << "no grips on paper";

    // Screen at 2 pixels per dot: box (100, 80, 200, 120), gap 4, middle x = left + width/2.
    const QImage screen = RenderElement(e, symbols, 400, 300, false, {2.0, 2.0});
    const GripPoint expected[8] = {{92, 72},   {200, 72}, {304, 72},  {92, 138},
                                   {304, 136}, {92, 202}, {200, 202}, {304, 202}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(std::pair(e.ptGrip[i].x, e.ptGrip[i].y), std::pair(expected[i].x, expected[i].y)) << i;
        EXPECT_EQ(CountBlack(screen, QRect(expected[i].x, expected[i].y, 4, 4)), 16) << i;
    }

    // A new text takes its measured size on screen, and shows its own glyphs.
    Element text = MakeTextElement(10, 10, "Etiqo 123");
    text.bSelected = 0;
    RenderElement(text, symbols, 600, 200, false, {2.0, 2.0});
    EXPECT_NEAR(text.nHeight, text.lfFont.lfHeight, 1) << "the cell height is lfHeight at any scale";
    EXPECT_GT(text.nWidth, 40);
    EXPECT_EQ(std::pair(text.nOrgWidth, text.nOrgHeight), std::pair(text.nWidth, text.nHeight));

    // Missing glyphs would all be the same box: two different characters must differ.
    Element a = Boxed(MakeTextElement(10, 10, "标"), 80, 80);
    Element b = Boxed(MakeTextElement(10, 10, "签"), 80, 80);
    const QImage first = RenderElement(a, symbols, 100, 100, true);
    EXPECT_GT(CountBlack(first, first.rect()), 300);
    EXPECT_NE(first, RenderElement(b, symbols, 100, 100, true));

    // A record cut inside a character shows what the model reads from it: the lost character as U+FFFD.
    Element damaged = MakeTextElement(10, 10, "AB");
    std::strcpy(damaged.str, "AB\x81");
    Element decoded = MakeTextElement(10, 10, Utf8FromGb18030("AB\x81"));
    damaged.bSelected = decoded.bSelected = 0;
    EXPECT_EQ(RenderElement(damaged, symbols, 200, 60, false),
              RenderElement(decoded, symbols, 200, 60, false));
}

// Hatched on screen and named to the user; on paper no bars (a caption still prints).
TEST(ElementDrawing, UnencodableContentIsHatchedOnScreenAndNamed) {
    // clang-format off
    const struct { const char* name; Element element; } rows[] = {
        {"Code 39", Boxed(Barcode(8, "not*encodable"), 300, 80)},
        {"own EAN-13", Boxed(Barcode(kSymbologyOwnEan13, "not*encodable"), 300, 80)},
        {"turned, with its caption", Boxed(Barcode(8, "not*encodable", true), 300, 80, 1800)},
        {"turned a quarter, with its caption", Boxed(Barcode(8, "not*encodable", true), 300, 80, 2700)},
        {"2D", Boxed(Make2DElement(40, 40, "not*encodable"), 80, 80)},
        {"no box", Boxed(Barcode(8, "not*encodable"), 0, 0)},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SymbolCache symbols;
        Element e = row.element;
        e.nSymbology = e.nKind == ElementKind::Code2D ? 34 : e.nSymbology;  // UPC-A takes digits only
        std::string warning;
        const QImage screen =
            RenderElement(e, symbols, 400, 200, false, {1, 1}, [&](const std::string& w) { warning = w; });
        int marked = 0;
        for (int y = 40; y < 120; ++y) {
            for (int x = 40; x < 340; ++x) {
                marked += screen.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        EXPECT_EQ(marked > 1000, e.nWidth > 0);
        EXPECT_NE(warning.find("not*encodable"), std::string::npos) << warning;
        if (!e.bShowText) {
            EXPECT_TRUE(BlackBounds(RenderElement(e, symbols, 400, 200, true)).isEmpty())
                << "no bars on paper";
        }
        SymbolCache paper;
        RenderElement(e, paper, 10, 10, true);  // encoded anew, with no one to tell
    }
}

TEST(DrawLabel, LaterElementsCoverEarlierOnesAndNoGripsAppear) {
    Label label = MakeLabel(50, 30, 203);
    Element white = MakeShapeElement(10, 10);  // outline only: a shape never hides what is under it
    std::tie(white.nWidth, white.nHeight, white.nPenWidth) = std::tuple(100, 100, 1);
    Element picture = ZeroElement();
    picture.nKind = ElementKind::Picture;
    std::strcpy(picture.str, ETIQO_SOURCE_DIR "/tests/render/no-such-picture.png");
    label.Append(white);
    label.Append(picture);
    std::vector<std::string> warnings;
    SymbolCache symbols;
    const QImage page = RenderPage(label, symbols, [&](const std::string& w) { warnings.push_back(w); });
    EXPECT_EQ(BlackBounds(page), QRect(10, 10, 100, 100)) << "selected, yet no grips on paper";
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_EQ(warnings[0].rfind("element 1: ", 0), 0U) << warnings[0];

    // A text never shown upright since a turn prints upright.
    label.m_elements.clear();
    Element text = MakeTextElement(20, 20, "ETIQO 12345");
    std::tie(text.bSelected, text.nWidth, text.nHeight) = std::tuple(0, 300, 40);
    text.lfFont.lfEscapement = 900;  // left over from a turn, never reset by a screen paint
    label.Append(text);
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
