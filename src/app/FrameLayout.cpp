#include "app/FrameLayout.h"

#include <algorithm>

namespace etiqo {

FrameLayout ComputeFrameLayout(int cx, int cy) {
    FrameLayout layout;
    layout.commandBar = QRect(0, 0, cx, kBarHeight);
    layout.palette = QRect(0, kBarHeight, cx, kBarHeight);
    // The rulers stop 20 pixels above the bottom, the view 18: the status bar covers the rest.
    layout.ruler = QRect(0, kRulerTop, cx, std::max(0, cy - 104));
    layout.view =
        QRect(kRulerBand, kRulerTop + kRulerBand, std::max(0, cx - kRulerBand), std::max(0, cy - 126));
    return layout;
}

}  // namespace etiqo
