#include "dialogs/FontConversion.h"

#include <algorithm>
#include <cstdlib>

#include "model/TextCodec.h"

namespace etiqo {

QFont FontFromLogFont(const LOGFONTA& font) {
    QFont qfont(QString::fromStdString(FaceNameUtf8(font)));
    if (font.lfHeight != 0) {
        qfont.setPixelSize(static_cast<int>(std::clamp(std::llabs(font.lfHeight), 1LL, 1000LL)));
    }
    // Both scales run from 100 (thin) to 900 (black); 0 means "any", shown as normal.
    qfont.setWeight(font.lfWeight > 0 ? static_cast<QFont::Weight>(std::clamp(font.lfWeight, 1, 1000))
                                      : QFont::Normal);
    qfont.setItalic(font.lfItalic != 0);
    qfont.setUnderline(font.lfUnderline != 0);
    qfont.setStrikeOut(font.lfStrikeOut != 0);
    return qfont;
}

void ApplyFontChoice(const QFont& chosen, LOGFONTA& font) {
    // A family name longer than the field's 31 bytes keeps its whole leading characters.
    SetFaceName(font, chosen.family().toStdString(), Overflow::Cut);
    font.lfWeight = chosen.weight();
    font.lfItalic = chosen.italic() ? 1 : 0;
    font.lfUnderline = chosen.underline() ? 1 : 0;
    font.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
}

}  // namespace etiqo
