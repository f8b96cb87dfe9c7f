#pragma once
// How a scroll bar step moves the canvas inside the view. Plain arithmetic on one axis, so that both
// bars and the tests share it.

namespace etiqo {

enum class ScrollCode {
    LineBack,     // arrow up / left
    LineForward,  // arrow down / right
    PageBack,
    PageForward,
    ThumbTrack,  // dragging the thumb (also the wheel and "scroll to" actions)
    Other,       // end of a drag and the rest: nothing moves
};

struct ScrollBarState {
    int nMax = 0;    // canvas size along the axis, pixels
    int nPage = 0;   // visible view size along the axis
    int nPos = 0;    // how far the canvas's leading edge lies before the view's
    int nLimit = 0;  // the largest position: nMax − nPage + 1
};

struct ScrollResult {
    int nPos;      // new bar position
    int nLeading;  // new leading edge of the canvas in view coordinates
};

inline constexpr int kScrollLine = 10;

// The bar's limit for a canvas of nMax pixels seen through nPage.
int ScrollLimit(int nMax, int nPage);

// One scroll step. nLeading and nTrailing are the canvas edges along the axis; the view shows
// state.nPage pixels of it. Line steps back on the horizontal bar stop at position 0, forward at the limit.
ScrollResult ComputeCanvasScroll(ScrollCode code, bool bHorizontal, const ScrollBarState& state,
                                 int nTrackPos, int nLeading, int nTrailing);

}  // namespace etiqo
