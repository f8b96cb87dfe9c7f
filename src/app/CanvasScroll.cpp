#include "app/CanvasScroll.h"

#include <algorithm>
#include <cstdint>

namespace etiqo {
namespace {

int ClampPos(std::int64_t pos, int nLimit) {
    return static_cast<int>(std::clamp<std::int64_t>(pos, 0, std::max(nLimit, 0)));
}

// (M − P) × k ÷ L with the canvas no smaller than the view (the divisions are unsigned).
int Share(const ScrollBarState& s, std::int64_t k) {
    const std::int64_t hidden = std::max<std::int64_t>(std::int64_t{s.nMax} - s.nPage, 0);
    return static_cast<int>(hidden * std::max<std::int64_t>(k, 0) / s.nLimit);
}

}  // namespace

int ScrollLimit(int nMax, int nPage) {
    return std::max(0, nMax - std::max(nPage - 1, 0));
}

ScrollResult ComputeCanvasScroll(ScrollCode code, bool bHorizontal, const ScrollBarState& s, int nTrackPos,
                                 int nLeading, int nTrailing) {
    ScrollResult result{s.nPos, nLeading};
    if (s.nLimit <= 0) {
        return result;
    }
    const int nView = s.nPage;
    switch (code) {
        case ScrollCode::LineBack: {
            if (bHorizontal && s.nPos <= 0) {
                break;
            }
            result.nPos = ClampPos(std::int64_t{s.nPos} - kScrollLine, s.nLimit);
            int d = Share(s, kScrollLine);
            if (nLeading + d > 0) {
                d = -nLeading;
            }
            result.nLeading = nLeading + d;
            break;
        }
        case ScrollCode::LineForward: {
            if (bHorizontal && s.nPos >= s.nLimit) {
                break;
            }
            result.nPos = ClampPos(std::int64_t{s.nPos} + kScrollLine, s.nLimit);
            int d = Share(s, kScrollLine);
            if (nTrailing - d < nView) {
                d = nTrailing - nView;
            }
            result.nLeading = nLeading - d;
            break;
        }
        case ScrollCode::PageBack: {
            result.nPos = ClampPos(std::int64_t{s.nPos} - s.nPage, s.nLimit);
            const int d = result.nPos == 0 ? -nLeading : Share(s, s.nPage);
            result.nLeading = nLeading + d;
            break;
        }
        case ScrollCode::PageForward: {
            result.nPos = ClampPos(std::int64_t{s.nPos} + s.nPage, s.nLimit);
            const int d = result.nPos >= s.nLimit ? nTrailing - nView : Share(s, s.nPage);
            result.nLeading = nLeading - d;
            break;
        }
        case ScrollCode::ThumbTrack:
            result.nPos = ClampPos(nTrackPos, s.nLimit);
            result.nLeading = -Share(s, result.nPos);
            break;
        case ScrollCode::Other:
            break;
    }
    return result;
}

}  // namespace etiqo
