#include "chrome/CCommandBar.h"

#include <array>

#include "res/Resources.h"

namespace etiqo {

namespace {

constexpr std::array kTips = {TextId::TipNew,
                              TextId::TipOpen,
                              TextId::TipSave,
                              TextId::TipPrint,
                              TextId::TipPrintPreview,
                              TextId::TipRotateLeft,
                              TextId::TipRotateRight,
                              TextId::TipZoomIn,
                              TextId::TipZoomOut,
                              TextId::TipInputFile,
                              TextId::TipPlaceTop,
                              TextId::TipPlaceLeft,
                              TextId::TipPlaceBottom,
                              TextId::TipPlaceRight,
                              TextId::TipPlaceVCenter,
                              TextId::TipPlaceHCenter,
                              TextId::TipAlignLeft,
                              TextId::TipAlignTop,
                              TextId::TipAlignRight,
                              TextId::TipAlignBottom,
                              TextId::TipMoveToFront,
                              TextId::TipMoveToBack,
                              TextId::TipBringForward,
                              TextId::TipSendBackward,
                              TextId::TipSpaceHorizontal,
                              TextId::TipSpaceVertical};

// Gaps of 16 before Print, before the rotations and before Input File.
int GroupOffset(int i) {
    return i <= 2 ? 0 : i <= 4 ? 16 : i <= 8 ? 32 : 48;
}

}  // namespace

CCommandBar::CCommandBar(QWidget* parent) : CButtonBar(parent) {
    std::vector<Button> buttons;
    for (int i = 0; i < static_cast<int>(kTips.size()); ++i) {
        const int x0 = 43 * i + GroupOffset(i);
        const QRect area(x0 + 5, 0, 35, 42);
        buttons.push_back({kFirstCommand + i, kTips[i], 0, QRect(x0 + 1, 2, 43, 38), area, area,
                           QPoint(x0 + 5, 0), QRect(35 * i, 0, 35, 42)});
    }
    SetButtons(std::move(buttons), {LoadStrip(kStripCommands)}, {137, 239, 427}, false);
}

}  // namespace etiqo
