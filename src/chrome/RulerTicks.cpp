#include "chrome/RulerTicks.h"

namespace etiqo {

namespace {
constexpr int kBand = 24;  // ruler band thickness inside the borders
}

std::optional<RulerScale> ComputeRulerScale(int nViewPixels, int nLabelMM) {
    if (nViewPixels <= 0 || nLabelMM <= 0) {
        return std::nullopt;
    }
    RulerScale scale{nViewPixels / nLabelMM, nViewPixels % nLabelMM, 1};
    if (scale.nPixelsPerStep < 4) {
        const int halfMM = nLabelMM / 2;
        if (halfMM == 0) {
            return std::nullopt;
        }
        scale = {nViewPixels / halfMM, nViewPixels % halfMM, 2};
    }
    if (scale.nPixelsPerStep <= 0) {
        return std::nullopt;
    }
    return scale;
}

std::vector<RulerTick> ComputeRulerTicks(int nViewPixels, int nLabelMM, int nCanvasOffset, int nRulerLength) {
    std::vector<RulerTick> ticks;
    const auto scale = ComputeRulerScale(nViewPixels, nLabelMM);
    if (!scale) {
        return ticks;
    }
    const int p = scale->nPixelsPerStep;
    auto add = [&](int x, int i) { ticks.push_back({x + kBand, i, i * scale->nStepMM, i % 10 == 0}); };

    // Away from zero the remainder pixels go one each to the first ticks, so the spacing evens out
    // over the label instead of piling up at its end.
    int r = scale->nRemainder;
    for (int x = nCanvasOffset, i = 0; x < nRulerLength - kBand; ++i, x += p) {
        if (r > 0) {
            ++x;
            --r;
        }
        add(x, i);
    }

    // Before zero (a centred canvas): the same spacing, counted outward; zero itself is not repeated.
    if (nCanvasOffset > 0) {
        r = scale->nRemainder;
        for (int x = nCanvasOffset, i = 0; x > 0; ++i, x -= p) {
            if (x == nCanvasOffset) {
                continue;
            }
            if (r > 0) {
                ++x;
                --r;
            }
            add(x, i);
        }
    }
    return ticks;
}

}  // namespace etiqo
