#include "dialogs/FontConversion.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace etiqo {

QFont FontFromLogFont(const LOGFONTA& font) {
    const std::string_view face = FaceNameBytes(font);
    QStringDecoder decoder("GB18030");
    QFont qfont(decoder.decode(QByteArrayView(face.data(), static_cast<qsizetype>(face.size()))));
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
    QStringEncoder encoder("GB18030");
    QString family = chosen.family();
    QByteArray face = encoder.encode(family);
    // Keep the NUL: a name that would fill the field loses whole characters from its end.
    while (face.size() >= static_cast<qsizetype>(sizeof font.lfFaceName)) {
        family.chop(family.back().isLowSurrogate() ? 2 : 1);
        face = encoder.encode(family);
    }
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, face.constData(), static_cast<std::size_t>(face.size()));
    font.lfWeight = chosen.weight();
    font.lfItalic = chosen.italic() ? 1 : 0;
    font.lfUnderline = chosen.underline() ? 1 : 0;
    font.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
}

}  // namespace etiqo
