#include "app/CheckLabelCommand.h"

#include <QStatusBar>

#include "app/CanvasPainter.h"
#include "canvas/LabelCanvas.h"
#include "check/CheckText.h"
#include "print/LabelCheck.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

void RunCheckLabel(CLabelCanvas& canvas, QStatusBar& statusBar) {
    LabelChecker checker;
    const PageCheck page = CheckNextPage(canvas.GetLabel(), CanvasPainter(canvas), checker);
    std::vector<CLabelCanvas::CheckMark> marks;
    for (const ElementCheck& check : page.elements) {
        if (check.Fails()) {
            marks.push_back(
                {check.area, UiText(TextId::CheckElementReason)
                                 .arg(check.index)
                                 .arg(QString::fromStdString(SymbologyName(check)), CheckReason(check))});
        }
    }
    const QString summary =
        marks.empty() ? UiText(TextId::CheckAllRight) : UiText(TextId::CheckSomeFail).arg(marks.size());
    statusBar.showMessage(marks.size() == 1 ? summary + QStringLiteral(": ") + marks.front().reason
                                            : summary);
    canvas.SetCheckMarks(std::move(marks));
}

}  // namespace etiqo
