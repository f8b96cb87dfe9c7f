#pragma once
// Where the millimetre ruler puts its ticks. Plain arithmetic, kept apart from the widget so that the
// rules can be checked without pixels.
#include <optional>
#include <vector>

namespace etiqo {

// Tick spacing for nViewPixels on screen showing nLabelMM millimetres: nPixelsPerStep whole pixels per
// step of nStepMM (1, or 2 when a millimetre gets fewer than 4 pixels), and nRemainder pixels that the
// first ticks absorb one by one.
struct RulerScale {
    int nPixelsPerStep = 0;
    int nRemainder = 0;
    int nStepMM = 1;
};

// No scale for a size that would divide by zero or give no spacing (0 mm, 1 mm below 4 pixels, or an
// empty view); the ruler then draws no ticks.
std::optional<RulerScale> ComputeRulerScale(int nViewPixels, int nLabelMM);

struct RulerTick {
    int nPos;      // in ruler pixels, band included (canvas position + 24)
    int nIndex;    // ticks from the canvas edge; a number stands at every tenth
    int nValueMM;  // distance from the canvas edge, positive on both sides
    bool bMajor;
};

// All ticks of one ruler: from the canvas edge towards the far end of a ruler nRulerLength pixels long,
// then, when the canvas does not start at the ruler's edge, back towards the ruler's start.
std::vector<RulerTick> ComputeRulerTicks(int nViewPixels, int nLabelMM, int nCanvasOffset, int nRulerLength);

}  // namespace etiqo
