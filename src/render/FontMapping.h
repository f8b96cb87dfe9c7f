#pragma once
// LOGFONTA → QFont, in one place. The record's font is a Windows LOGFONTA: lfHeight is the
// character cell height in device pixels (negative: the em height), lfWidth the average
// character width, lfEscapement the text's angle. Faces the system lacks are substituted.

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <string_view>

#include "model/Element.h"

class QPainter;

namespace etiqo {

// A font ready to draw one text the way GDI would draw it from the LOGFONTA.
struct TextFont {
    QFont font;
    qreal stretch = 1.0;     // horizontal scale that makes lfWidth the average character width
    qreal ascent = 0.0;      // baseline below the top of the cell, in device pixels
    qreal cellHeight = 0.0;  // ascent + descent, in device pixels
    int escapement = 0;      // tenths of a degree, counter-clockwise
    // The advance of the text the font was made for, when it was measured on the way (unstretched):
    // a text is shaped once for its size, not again to be measured and drawn.
    QString measured;
    qreal measuredAdvance = -1;

    // The unstretched advance of text in this font.
    qreal Advance(const QString& text) const;
};

// The face for a LOGFONTA face name (GB18030 bytes): the face itself when installed,
// "宋体" and the other Windows Chinese faces by an installed CJK font, "Consolas" and the other
// Windows monospace faces by an installed monospace font, anything else by the CJK font so that
// Chinese contents still show as Chinese.
QString ResolveFamily(std::string_view faceBytes);

// `text` is the string to be drawn and `byteLength` its length in the record (GB18030 bytes):
// GDI shares lfWidth out per byte, so the text is stretched until it is lfWidth × byteLength
// wide; it then fills the box it was sized for whatever face stands in.
TextFont FontFromLogFont(const LOGFONTA& logFont, const QString& text, std::size_t byteLength);

// The extent GDI's GetTextExtentPoint32 gives: advance width × stretch and the cell height.
QSize MeasureText(const TextFont& font, const QString& text);

// Draws text with the top-left of its (unrotated) cell at origin, turned by the escapement
// about that point, in black.
void DrawTextAt(QPainter& painter, const TextFont& font, QPoint origin, const QString& text);

}  // namespace etiqo
