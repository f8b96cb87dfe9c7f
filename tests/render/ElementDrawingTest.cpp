// Pixel checks of the geometry a printed label depends on, and of what the screen adds.

#include <gtest/gtest.h>

#include <QPainter>

#include <climits>
#include <cstring>

#include "RenderSupport.h"
#include "model/ElementFactory.h"
#include "model/TextCodec.h"
#include "render/ElementRenderer.h"

namespace etiqo::test {
namespace {

Element Shape(int x, int y, int w, int h, int type = kShapeRectangle) {
    Element e = MakeShapeElement(x, y);
    e.nWidth = w;
    e.nHeight = h;
    e.nPenWidth = 1;
    e.nShapeType = type;
    e.nEndX = -1;
    e.bSelected = 0;
    return e;
}

// A 100 × 40 box at (100, 100): turned a quarter either way it is 40 × 100 about the same centre.
TEST(ElementDrawing, ShapesSitOnTheirDotsAndTurnAboutTheirCentre) {
    const struct {
        const char* name;
        int type, angle;
        QRect bounds;
        int slack;
    } rows[] = {
        {"rectangle", kShapeRectangle, 0, {100, 100, 100, 40}, 0},
        {"upside down", kShapeRectangle, 1800, {100, 100, 100, 40}, 0},
        {"quarter", kShapeRectangle, 900, {130, 70, 40, 100}, 0},
        {"three quarters", kShapeRectangle, 2700, {130, 70, 40, 100}, 0},
        {"backwards", kShapeRectangle, -900, {130, 70, 40, 100}, 0},
        {"ellipse", kShapeEllipse, 900, {130, 70, 40, 100}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SymbolCache symbols;
        Element e = Shape(100, 100, 100, 40, row.type);
        e.nEscapement = row.angle;
        const QImage out = RenderElement(e, symbols, 400, 400, true);
        const QRect bounds = BlackBounds(out);
        EXPECT_NEAR(bounds.left(), row.bounds.left(), row.slack);
        EXPECT_NEAR(bounds.top(), row.bounds.top(), row.slack);
        EXPECT_NEAR(bounds.width(), row.bounds.width(), row.slack);
        EXPECT_NEAR(bounds.height(), row.bounds.height(), row.slack);
        if (row.type == kShapeRectangle) {
            EXPECT_EQ(CountBlack(out, bounds.adjusted(2, 2, -2, -2)), 0) << "a shape is never filled";
        }
    }
}

TEST(ElementDrawing, GripsOnScreenOnlyAndWrittenBack) {
    SymbolCache symbols;
    Element e = Shape(50, 40, 100, 60);
    e.bSelected = 1;
    const QImage printed = RenderElement(e, symbols, 400, 300, true);
    EXPECT_EQ(BlackBounds(printed), QRect(50, 40, 100, 60)) << "no grips on paper";

    // Screen at 2 pixels per dot: box (100, 80, 200, 120), gap 4, middle x = left + width/2.
    const QImage screen = RenderElement(e, symbols, 400, 300, false, {2.0, 2.0});
    const GripPoint expected[8] = {{92, 72},   {200, 72}, {304, 72},  {92, 138},
                                   {304, 136}, {92, 202}, {200, 202}, {304, 202}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(e.ptGrip[i].x, expected[i].x) << i;
        EXPECT_EQ(e.ptGrip[i].y, expected[i].y) << i;
        EXPECT_EQ(CountBlack(screen, QRect(expected[i].x, expected[i].y, 4, 4)), 16) << i;
    }
}

TEST(ElementDrawing, TwoDimensionalSymbolsAreSquareExceptPdf417) {
    struct Row {
        int symbology;
        bool square;
    } rows[] = {{58, true}, {71, true}, {55, false}};
    for (const Row& row : rows) {
        SymbolCache symbols;
        Element e = Make2DElement(20, 20, "ETIQO");
        e.nSymbology = row.symbology;
        e.nWidth = 100;
        e.nHeight = 60;
        e.bSelected = 0;
        RenderElement(e, symbols, 10, 10, false);  // the screen encodes
        const QRect bounds = BlackBounds(RenderElement(e, symbols, 200, 200, true));
        EXPECT_TRUE(QRect(20, 20, 100, row.square ? 100 : 60).contains(bounds)) << row.symbology;
        EXPECT_GT(bounds.bottom(), row.square ? 100 : 60) << row.symbology;
        EXPECT_GE(bounds.right(), 110) << row.symbology;
    }
}

TEST(ElementDrawing, OutputNeverEncodesA2DSymbol) {
    SymbolCache symbols;
    Element e = Make2DElement(20, 20, "ETIQO");
    e.bSelected = 0;
    EXPECT_TRUE(BlackBounds(RenderElement(e, symbols, 200, 200, true)).isEmpty());
    EXPECT_EQ(e.hImage, 0U);
}

TEST(ElementDrawing, BarsFillTheBoxHeightLessCaptionAndTwo) {
    for (const int showText : {0, 1}) {
        SymbolCache symbols;
        Element e = MakeBarcodeElement(40, 40, "ETIQO123");
        e.bShowText = showText;
        e.bSelected = 0;
        e.nWidth = 300;
        e.nHeight = 80;
        const QImage out = RenderElement(e, symbols, 400, 200, true);
        const int barHeight = 80 - (showText ? e.lfFont.lfHeight : 0) - 2;
        // Code 128 starts with a bar: the first column is black for exactly the bar height.
        int run = 0;
        while (IsBlack(out, 40, 40 + run)) {
            ++run;
        }
        EXPECT_EQ(run, barHeight) << "show text " << showText;
        EXPECT_EQ(BlackBounds(out).left(), 40);
        if (!showText) {
            EXPECT_EQ(BlackBounds(out), QRect(40, 40, 300, barHeight));
        }
    }
}

TEST(ElementDrawing, BarcodeScaleFollowsWidth) {
    SymbolCache symbols;
    Element e = MakeBarcodeElement(0, 0, "12345");
    e.bSelected = 0;
    for (const auto& [width, scale] : {std::pair{300, 7}, std::pair{41, 1}}) {
        symbols.Release(e);
        e.nWidth = width;
        RenderElement(e, symbols, 10, 10, true);
        const SymbolImage* symbol = symbols.Find(e.hImage);
        ASSERT_NE(symbol, nullptr);
        SymbolCache plain;
        Element one = e;
        one.hImage = 0;
        one.nWidth = 42;
        RenderElement(one, plain, 10, 10, true);
        EXPECT_EQ(symbol->Size().width(), plain.Find(one.hImage)->Size().width() * scale) << width;
    }
}

TEST(ElementDrawing, NewTextTakesItsMeasuredSizeOnScreen) {
    SymbolCache symbols;
    Element e = MakeTextElement(10, 10, "Etiqo 123");
    e.bSelected = 0;
    RenderElement(e, symbols, 600, 200, false, {2.0, 2.0});
    EXPECT_NEAR(e.nHeight, e.lfFont.lfHeight, 1) << "the cell height is lfHeight at any scale";
    EXPECT_GT(e.nWidth, 40);
    EXPECT_EQ(e.nOrgWidth, e.nWidth);
    EXPECT_EQ(e.nOrgHeight, e.nHeight);
}

TEST(ElementDrawing, PrintedTextFillsItsBox) {
    SymbolCache symbols;
    for (const char* text : {"Etiqo 12345", "标签打印", "Mixed 标签"}) {
        Element e = MakeTextElement(20, 20, text);
        e.bSelected = 0;
        e.nWidth = 300;
        e.nHeight = 50;
        const QImage out = RenderElement(e, symbols, 400, 120, true);
        const QRect bounds = BlackBounds(out);
        EXPECT_EQ(e.lfFont.lfHeight, 50);
        EXPECT_EQ(e.lfFont.lfWidth, 300 / static_cast<int>(ContentBytes(e).size()));
        EXPECT_GE(bounds.left(), 18) << text;
        EXPECT_NEAR(bounds.right(), 320, 20) << text;
        EXPECT_GE(bounds.top(), 20) << text;
        EXPECT_LE(bounds.bottom(), 70) << text;
    }
}

// Rows crossed by one black run at least `share` of the image's ink width.
int RowsWithLongRuns(const QImage& image, double share) {
    const QRect ink = BlackBounds(image);
    int rows = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        int run = 0;
        int longest = 0;
        for (int x = ink.left(); x <= ink.right(); ++x) {
            run = IsBlack(image, x, y) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        rows += longest >= share * ink.width() ? 1 : 0;
    }
    return rows;
}

TEST(ElementDrawing, LargePrintedTextKeepsItsBoxAndDecorations) {
    SymbolCache symbols;
    for (const bool decorated : {false, true}) {
        Element e = MakeTextElement(20, 20, "ETIQO 1");
        e.bSelected = 0;
        e.nWidth = 600;
        e.nHeight = 200;
        e.lfFont.lfUnderline = e.lfFont.lfStrikeOut = decorated ? 1 : 0;
        const QImage out = RenderElement(e, symbols, 700, 260, true);
        const QRect bounds = BlackBounds(out);
        EXPECT_GE(bounds.left(), 18) << decorated;
        EXPECT_LE(bounds.left(), 40) << decorated;
        EXPECT_NEAR(bounds.right(), 620, 30) << decorated;
        EXPECT_GE(bounds.top(), 20) << decorated;
        EXPECT_LE(bounds.bottom(), 220) << decorated;
        if (decorated) {
            EXPECT_GE(RowsWithLongRuns(out, 0.9), 4) << "an underline and a strike-out across the text";
        } else {
            EXPECT_EQ(RowsWithLongRuns(out, 0.9), 0);
        }
    }
}

TEST(ElementDrawing, ChineseTextShowsChineseGlyphs) {
    SymbolCache symbols;
    // Missing glyphs would all be the same box: two different characters must differ.
    Element a = MakeTextElement(10, 10, "标");
    Element b = MakeTextElement(10, 10, "签");
    for (Element* e : {&a, &b}) {
        e->bSelected = 0;
        e->nWidth = 80;
        e->nHeight = 80;
    }
    const QImage first = RenderElement(a, symbols, 100, 100, true);
    const QImage second = RenderElement(b, symbols, 100, 100, true);
    EXPECT_GT(CountBlack(first, first.rect()), 300);
    EXPECT_NE(first, second);
}

// A record cut inside a character shows what the model reads from it: the lost character as U+FFFD.
TEST(ElementDrawing, DamagedTextShowsWhatTheModelDecodes) {
    SymbolCache symbols;
    Element damaged = MakeTextElement(10, 10, "AB");
    std::strcpy(damaged.str, "AB\x81");
    Element decoded = MakeTextElement(10, 10, Utf8FromGb18030("AB\x81"));
    damaged.bSelected = decoded.bSelected = 0;
    EXPECT_EQ(RenderElement(damaged, symbols, 200, 60, false),
              RenderElement(decoded, symbols, 200, 60, false));
}

TEST(ElementDrawing, PrintedLineEndIsDividedByTheDisplayScale) {
    SymbolCache symbols;
    Element e = MakeLineElement(10, 10, {2.0, 2.0});
    e.nEndX = 200;
    e.nEndY = 100;
    e.nPenWidth = 1;
    e.bSelected = 0;
    QImage out(300, 300, QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter painter(&out);
        RenderContext context{painter, symbols, {1, 1}, true, {2.0, 2.0}, {}};
        DrawElement(context, e);
    }
    EXPECT_EQ(BlackBounds(out), QRect(QPoint(10, 10), QPoint(100, 50)));
}

TEST(ElementDrawing, OwnEan13ModulesStartAfterTheLeadingDigitRoom) {
    SymbolCache symbols;
    Element e = MakeBarcodeElement(10, 10, "123456789012");
    e.nSymbology = kSymbologyOwnEan13;
    e.nWidth = 204;  // two pixels a module, no spare
    e.nHeight = 100;
    e.bSelected = 0;
    const QImage out = RenderElement(e, symbols, 300, 150, true);
    // Start guard 101 at modules 0-2: x = 10 + 7 × 2.
    EXPECT_TRUE(IsBlack(out, 24, 20));
    EXPECT_TRUE(IsBlack(out, 25, 20));
    EXPECT_FALSE(IsBlack(out, 26, 20));
    EXPECT_TRUE(IsBlack(out, 28, 20));
    EXPECT_FALSE(IsBlack(out, 23, 20));
    // Guard bars reach 3 modules from the bottom, data bars 10.
    EXPECT_TRUE(IsBlack(out, 24, 110 - 7));
    EXPECT_FALSE(IsBlack(out, 24, 110 - 6));
}

TEST(ElementDrawing, UnencodableContentIsHatchedOnScreenAndBlankOnPaper) {
    for (const int symbology : {8, kSymbologyOwnEan13}) {
        SymbolCache symbols;
        Element e = MakeBarcodeElement(10, 10, "not*encodable");
        e.nSymbology = symbology;
        e.bShowText = 0;
        e.bSelected = 0;
        std::string warning;
        QImage screen(400, 200, QImage::Format_RGB32);
        screen.fill(Qt::white);
        {
            QPainter painter(&screen);
            RenderContext context{painter, symbols, {1, 1},
                                  false,   {1, 1},  [&](const std::string& w) { warning = w; }};
            DrawElement(context, e);
        }
        int marked = 0;
        for (int y = 10; y < 90; ++y) {
            for (int x = 10; x < 310; ++x) {
                marked += screen.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        EXPECT_GT(marked, 1000) << symbology;
        EXPECT_NE(warning.find("not*encodable"), std::string::npos) << warning;
        EXPECT_TRUE(BlackBounds(RenderElement(e, symbols, 400, 200, true)).isEmpty()) << symbology;
    }
}

// Hostile records: huge, negative, unterminated. Every kind must draw (or not) without harm.
TEST(ElementDrawing, HostileRecordsAreDrawnSafely) {
    const std::int32_t extremes[] = {INT_MIN, -1000000, -1, 0, 1, 1000000, INT_MAX};
    const ElementKind kinds[] = {ElementKind::Text,   ElementKind::Picture, ElementKind::Barcode,
                                 ElementKind::Code2D, ElementKind::Line,    ElementKind::Shape};
    SymbolCache symbols;
    for (const ElementKind kind : kinds) {
        for (const std::int32_t value : extremes) {
            Element e = ZeroElement();
            e.nKind = kind;
            std::memset(e.str, 'A', sizeof e.str);  // no NUL anywhere
            std::memset(e.lfFont.lfFaceName, 'Z', sizeof e.lfFont.lfFaceName);
            e.nPosX = e.nPosY = value;
            e.nWidth = e.nHeight = value;
            e.nEscapement = value;
            e.nEndX = e.nEndY = value;
            e.nPenWidth = value;
            e.nCornerSize = value;
            e.nShapeType = value;
            e.nSymbology = kind == ElementKind::Code2D ? 57 : 20;
            e.lfFont.lfHeight = e.lfFont.lfWidth = value;
            e.lfFont.lfEscapement = value;
            e.lfFont.lfWeight = value;
            e.bShowText = 1;
            e.bSelected = 1;
            e.hImage = static_cast<std::uint32_t>(value);
            RenderElement(e, symbols, 64, 64, false, {0.5, 0.5});
            RenderElement(e, symbols, 64, 64, true);
        }
    }
    SUCCEED();
}

}  // namespace
}  // namespace etiqo::test
