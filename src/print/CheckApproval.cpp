#include "print/CheckApproval.h"

#include <QMessageBox>
#include <QStringList>

#include "check/CheckText.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

// Enough lines to see what is wrong; a thousand serialized pages failing alike need not all be named.
constexpr int kMaxLines = 8;

}  // namespace

bool AskPrintDespiteCheck(QWidget* parent, const std::vector<FailingPage>& failing) {
    QStringList lines;
    for (const FailingPage& page : failing) {
        for (const QString& line : FailureLines(page.check)) {
            if (lines.size() == kMaxLines) {
                lines << QStringLiteral("…");
                break;
            }
            lines << UiText(TextId::CheckPageLine).arg(page.page).arg(line);
        }
        if (lines.size() > kMaxLines) {
            break;
        }
    }
    const QString question =
        UiText(TextId::CheckAskPrint).arg(failing.size()).arg(lines.join(QLatin1Char('\n')));
    return QMessageBox::question(parent, UiText(TextId::CheckAskTitle), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace etiqo
