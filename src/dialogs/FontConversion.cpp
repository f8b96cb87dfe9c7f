#include "dialogs/FontConversion.h"

#include <algorithm>
#include <cstdlib>

#include "model/TextCodec.h"
#include "render/FontMapping.h"

namespace etiqo {

QFont FontFromLogFont(const LOGFONTA& font) {
    // The dialog opens on the family that really draws the text ("宋体" is drawn by a CJK stand-in).
    QFont qfont(ResolveFamily(FaceNameBytes(font)));
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
    // The face stays as stored unless another family was picked: OK on the stand-in the dialog
    // opened on must not turn "宋体" into the stand-in's name. A family name longer than the field's
    // 31 bytes keeps its whole leading characters.
    if (chosen.family() != ResolveFamily(FaceNameBytes(font))) {
        SetFaceName(font, chosen.family().toStdString(), Overflow::Cut);
    }
    font.lfWeight = chosen.weight();
    font.lfItalic = chosen.italic() ? 1 : 0;
    font.lfUnderline = chosen.underline() ? 1 : 0;
    font.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
}

}  // namespace etiqo
