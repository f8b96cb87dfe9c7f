#include "render/FontMapping.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>

#include "render/RenderParts.h"

namespace etiqo {

namespace {

// Limits that keep a hostile record from asking for absurd fonts.
constexpr int kMaxPixelSize = 8192;
constexpr qreal kMinStretch = 0.01;
constexpr qreal kMaxStretch = 64.0;
// lfHeight 0 asks for the font's default size.
constexpr qreal kDefaultCellHeight = 16.0;

QString FirstInstalled(std::initializer_list<const char*> families, const QString& fallback) {
    for (const char* family : families) {
        if (QFontDatabase::hasFamily(QString::fromUtf8(family))) {
            return QString::fromUtf8(family);
        }
    }
    return fallback;
}

// The family fontconfig chooses for Simplified Chinese, the way the desktop picks one; only a font that
// really covers the language counts.
QString SimplifiedChineseFamily() {
    using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
    const Pattern wanted(FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn")), FcPatternDestroy);
    if (!wanted) {
        return QStringLiteral("Sans Serif");
    }
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, wanted.get(), &result), FcPatternDestroy);
    FcLangSet* languages = nullptr;
    FcChar8* family = nullptr;
    if (match && FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) == FcResultMatch &&
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("zh-cn")) == FcLangEqual &&
        FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch) {
        return QString::fromUtf8(reinterpret_cast<const char*>(family));
    }
    return QStringLiteral("Sans Serif");
}

const QString& CjkFamily() {
    static const QString family = SimplifiedChineseFamily();
    return family;
}

const QString& MonospaceFamily() {
    static const QString family =
        FirstInstalled({"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "WenQuanYi Zen Hei Mono"},
                       QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    return family;
}

bool IsOneOf(const QString& face, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* name) {
        return face.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0;
    });
}

// Cell height (ascent + descent) per pixel of em size, per face and style. The ratio depends
// on the face only, so it is measured once.
qreal CellRatio(const QFont& font) {
    thread_local QHash<QString, qreal> ratios;
    const QString key = font.family() + QLatin1Char('/') + QString::number(font.weight()) +
                        (font.italic() ? QLatin1String("/i") : QLatin1String(""));
    const auto it = ratios.constFind(key);
    if (it != ratios.cend()) {
        return *it;
    }
    constexpr int kReference = 256;
    QFont reference = font;
    reference.setPixelSize(kReference);
    const qreal height = QFontMetricsF(reference).height();
    const qreal ratio = height > 0 ? height / kReference : 1.0;
    ratios.insert(key, ratio);
    return ratio;
}

}  // namespace

namespace {

QString ResolveFamilyUncached(const QString& face) {
    if (IsOneOf(face, {"宋体", "新宋体", "SimSun", "NSimSun", "黑体", "SimHei", "微软雅黑", "Microsoft YaHei",
                       "楷体", "KaiTi", "仿宋", "FangSong", "等线", "DengXian"})) {
        return CjkFamily();
    }
    if (IsOneOf(face, {"Consolas", "Courier New", "Courier", "Lucida Console", "Fixedsys"})) {
        return MonospaceFamily();
    }
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        return face;
    }
    return CjkFamily();
}

}  // namespace

QString ResolveFamily(std::string_view faceBytes) {
    // Asking the font database is slow; the answer for a face does not change while we run.
    thread_local QHash<QByteArray, QString> resolved;
    const QByteArray key(faceBytes.data(), static_cast<qsizetype>(faceBytes.size()));
    const auto it = resolved.constFind(key);
    if (it != resolved.cend()) {
        return *it;
    }
    const QString family = ResolveFamilyUncached(RecordText(faceBytes).trimmed());
    resolved.insert(key, family);
    return family;
}

TextFont FontFromLogFont(const LOGFONTA& logFont, const QString& text, std::size_t byteLength) {
    TextFont result;
    QFont& font = result.font;
    font.setFamily(ResolveFamily(FaceNameBytes(logFont)));
    font.setWeight(
        static_cast<QFont::Weight>(logFont.lfWeight <= 0 ? 400 : std::min(logFont.lfWeight, 1000)));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    // Unhinted outlines scale linearly, so a text measured on screen keeps its shape on paper.
    font.setHintingPreference(QFont::PreferNoHinting);

    qreal pixelSize = 0;
    if (logFont.lfHeight > 0) {
        pixelSize = logFont.lfHeight / CellRatio(font);
    } else if (logFont.lfHeight < 0) {
        pixelSize = -static_cast<qreal>(logFont.lfHeight);
    } else {
        pixelSize = kDefaultCellHeight / CellRatio(font);
    }
    font.setPixelSize(static_cast<int>(std::clamp<qreal>(std::round(pixelSize), 1, kMaxPixelSize)));

    const QFontMetricsF metrics(font);
    result.ascent = metrics.ascent();
    result.cellHeight = metrics.height();
    if (logFont.lfWidth != 0) {
        const qreal wanted = std::abs(static_cast<qreal>(logFont.lfWidth));
        if (!text.isEmpty()) {
            result.measured = text;
            result.measuredAdvance = metrics.horizontalAdvance(text);
        }
        const qreal natural = text.isEmpty() || byteLength == 0
                                  ? metrics.averageCharWidth()
                                  : result.measuredAdvance / static_cast<qreal>(byteLength);
        if (natural > 0) {
            result.stretch = std::clamp(wanted / natural, kMinStretch, kMaxStretch);
        }
    }
    result.escapement = logFont.lfEscapement % 3600;
    return result;
}

qreal TextFont::Advance(const QString& text) const {
    return measuredAdvance >= 0 && text == measured ? measuredAdvance
                                                    : QFontMetricsF(font).horizontalAdvance(text);
}

QSize MeasureText(const TextFont& font, const QString& text) {
    const qreal width = font.Advance(text) * font.stretch;
    return QSize(ClampCoordinate(std::llround(width)), ClampCoordinate(std::llround(font.cellHeight)));
}

namespace {

// Glyphs larger than this on the device are filled as outlines by Qt as well (its glyph cache
// stops at 64 pixels); below it Qt's cached glyphs are faster and look the same.
constexpr qreal kOutlineGlyphPixels = 64.0;
// Squeezed further than this, text is smudges of overlapping outlines that cost the smoothing
// rasterizer seconds; they are drawn without smoothing.
constexpr qreal kMinSmoothStretch = 0.25;

bool FillAsOutlines(const QPainter& painter, const TextFont& font, const QTransform& transform) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) {
        return false;  // PDF and printers keep real text
    }
    const qreal size = font.font.pixelSize();
    return size * size * std::abs(transform.determinant()) >= kOutlineGlyphPixels * kOutlineGlyphPixels;
}

// The text's outlines with its underline and strike-out, where Qt would draw them: the underline
// below the baseline by the font's underline position, the strike-out a third of the ascent above.
QPainterPath TextOutline(const TextFont& font, const QString& text) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addText(QPointF(0, font.ascent), font.font, text);
    const QFontMetricsF metrics(font.font);
    const qreal width = font.Advance(text);
    const qreal thickness = metrics.lineWidth();
    if (font.font.underline()) {
        path.addRect(0, font.ascent + metrics.underlinePos() - thickness / 2, width, thickness);
    }
    if (font.font.strikeOut()) {
        path.addRect(0, font.ascent - metrics.ascent() / 3 - thickness / 2, width, thickness);
    }
    return path;
}

}  // namespace

void DrawTextAt(QPainter& painter, const TextFont& font, QPoint origin, const QString& text) {
    painter.save();
    QTransform transform = painter.worldTransform();
    transform.translate(origin.x(), origin.y());
    if (font.escapement != 0) {
        transform.rotate(-font.escapement / 10.0);  // counter-clockwise on a y-down device
    }
    if (font.stretch != 1.0) {
        transform.scale(font.stretch, 1.0);
    }
    painter.setWorldTransform(transform);
    if (FillAsOutlines(painter, font, transform)) {
        // Qt 6.4's own path for large transformed text is many times slower than filling the
        // same outlines, and quadratic in the number of overlapping glyphs.
        painter.setRenderHint(QPainter::Antialiasing, painter.testRenderHint(QPainter::TextAntialiasing) &&
                                                          font.stretch >= kMinSmoothStretch);
        painter.fillPath(TextOutline(font, text), Qt::black);
    } else {
        QFont glyphs = font.font;
        if (!painter.testRenderHint(QPainter::TextAntialiasing)) {
            // Qt smooths glyphs whatever the hint says: thresholded, smoothed strokes thinner than
            // half a dot vanish, and a grey page takes smoothed glyphs a dot at a time through
            // colour conversion. FreeType's 1-bit glyphs keep every stroke and are drawn as runs.
            glyphs.setStyleStrategy(QFont::NoAntialias);
        }
        painter.setFont(glyphs);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, font.ascent), text);
    }
    painter.restore();
}

}  // namespace etiqo
