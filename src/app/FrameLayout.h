#pragma once
// Where the main frame puts its children for a client area of cx × cy pixels (below the menu bar,
// status bar included): command bar and palette on top, the L-shaped rulers under them, the view
// inside the L.

#include <QRect>

namespace etiqo {

struct FrameLayout {
    QRect commandBar;
    QRect palette;
    QRect ruler;
    QRect view;
};

inline constexpr int kBarHeight = 42;        // command bar and palette
inline constexpr int kRulerTop = 84;         // under both bars
inline constexpr int kRulerBand = 24;        // the view starts inside the rulers' L
inline constexpr int kStatusBarHeight = 20;  // at the bottom of the client area, over the view

FrameLayout ComputeFrameLayout(int cx, int cy);

}  // namespace etiqo
