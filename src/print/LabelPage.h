#pragma once
// One label as it prints: W × H printer dots at the label's resolution, white, drawn by the
// output renderer and reduced to black and white, the way a thermal head burns it. The print
// job sends exactly this image and the preview shows it.

#include <QImage>
#include <QSize>

#include <functional>

#include "model/Label.h"

class QPainter;

namespace etiqo {

// Draws the label's elements on a painter whose unit is one printer dot (DrawLabel with the
// canvas's symbols and display scale bound in). Returns true when serial numbers moved.
using LabelPainter = std::function<bool(QPainter& painter, Label& label)>;

// Wd × Hd truncated: the label's size in dots at m_nDpiX × m_nDpiY.
QSize LabelSizeInDots(const Label& label);

// The most dots a page may have (an 8000-dot square, the largest label at 203 dpi): its image
// takes 256 MB while it is drawn. Larger pages are refused, never drawn.
inline constexpr qint64 kMaxPagePixels = 8000LL * 8000;
bool PageWithinLimit(const Label& label);
bool PageWithinLimit(int widthMM, int heightMM, int dpiX, int dpiY);

// Runs work, which renders many pages, on a thread of Qt's global thread pool and waits for it. From
// any other thread Qt's raster engine and image conversions split every fill taller than about a
// hundred rows over that pool and wait for the pieces: on a run of one page per label the thread
// hand-offs cost more than the fills (a third of the time of `etiqo render --copies`). Work that
// opens a database does so inside work, since a connection belongs to the thread that opened it.
void RenderInQtPool(const std::function<void()>& work);

// Renders one page (a null image for a page over the limit); serial numbers step as DrawLabel steps them.
// serialsMoved is set to true (never cleared) when they did.
QImage RenderLabelPage(Label& label, const LabelPainter& painter, bool& serialsMoved);
// The same page before it is reduced to black and white (Format_Grayscale8), for output that
// reduces it on a thread of its own (the PDF writer). `blank`, when it is a white grey page of the
// label's size, is drawn on instead of a new one.
QImage RenderLabelGrey(Label& label, const LabelPainter& painter, bool& serialsMoved, QImage blank = {});
// A grey page reduced to black and white at half way (Format_Mono); null for a null page.
QImage DotsFromGrey(const QImage& page);

}  // namespace etiqo
