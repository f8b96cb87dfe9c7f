#include "check/CheckText.h"

#include "dialogs/SymbologyLists.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {}  // namespace

std::string SymbologyName(const ElementCheck& check) {
    for (const auto& list : {std::span<const SymbologyChoice>(kBarcodeSymbologies),
                             std::span<const SymbologyChoice>(k2DSymbologies)}) {
        if (const int at = SymbologyPosition(list, check.symbology); at >= 0) {
            return list[static_cast<std::size_t>(at)].name;
        }
    }
    return std::to_string(check.symbology);
}

QString CheckReason(const ElementCheck& check) {
    QStringList parts;
    switch (check.result) {
        case ReadResult::ReadsRight:
            parts << UiText(TextId::CheckReadsRight);
            break;
        case ReadResult::ReadsWrong:
            parts << UiText(TextId::CheckReadsWrong).arg(QString::fromStdString(check.read));
            break;
        case ReadResult::DoesNotRead:
            parts << UiText(TextId::CheckDoesNotRead);
            break;
        case ReadResult::NotChecked:
            return UiText(TextId::CheckNotChecked);
    }
    if (check.quietZone == QuietZone::CutByLabelEdge) {
        parts << UiText(TextId::CheckQuietZoneEdge);
    } else if (check.quietZone == QuietZone::CutByElement) {
        parts << UiText(TextId::CheckQuietZoneElement);
    }
    if (check.Fails() && check.moduleSpread > 0) {
        parts << UiText(TextId::CheckUnevenBars).arg(check.moduleSpread);
    }
    return parts.join(QStringLiteral("; "));
}

std::vector<QString> FailureLines(const PageCheck& page) {
    std::vector<QString> lines;
    for (const ElementCheck& check : page.elements) {
        if (check.Fails()) {
            lines.push_back(
                UiText(TextId::CheckElementReason, check.index, SymbologyName(check), CheckReason(check)));
        }
    }
    return lines;
}

}  // namespace etiqo
