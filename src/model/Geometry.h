#pragma once
// Label geometry: millimetres, printer dots and display pixels.
// Positions and sizes are stored in dots; the canvas shows them at a display scale
// (pixels per dot). Conversions truncate toward zero, as every part of the editor expects.

#include <cstdint>

namespace etiqo {

inline constexpr double kInchesPerMm = 0.03937007874015748;  // 1 / 25.4

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct DisplayScale {
    double x = 1.0;  // display pixels per dot
    double y = 1.0;
};

// Truncates toward zero, saturating at the int32 range (a hostile record must not make this undefined).
std::int32_t TruncToInt(double value);

// The label's extent in dots as a real number: dpi × mm / 25.4 + 0.5.
double LabelDots(int dpi, int mm);

// dScaleX = viewWidth / Wd, dScaleY = viewHeight / Hd. Output uses {1, 1}.
DisplayScale ComputeDisplayScale(int viewWidth, int viewHeight, int dpiX, int dpiY, int widthMM,
                                 int heightMM);

inline std::int32_t DotsToPixels(std::int32_t dots, double scale) {
    return TruncToInt(dots * scale);
}
inline std::int32_t PixelsToDots(std::int32_t pixels, double scale) {
    return TruncToInt(pixels / scale);
}

// Millimetres shown in dialogs: trunc(dots × 25.4 / dpi + 0.5).
std::int32_t MmFromDots(std::int32_t dots, int dpi);
// Dots from millimetres entered in dialogs: trunc(mm × dpi / 25.4 + 0.5), the integer product first.
std::int32_t DotsFromMm(std::int32_t mm, int dpi);

// The canvas window size chosen for a label of Wd × Hd dots when the frame's client area
// minus 50 pixels leaves availWidth × availHeight.
PixelSize ChooseCanvasSize(double labelDotsW, double labelDotsH, int availWidth, int availHeight,
                           int widthMM);

// The smallest canvas width a zoom-out may reach, so that no display scale becomes zero.
inline constexpr int kMinZoomedWidth = 30;

// Zoom arithmetic: W' = W + delta, H' = H + H × delta / W. Returns the size unchanged when
// W' would fall below kMinZoomedWidth.
PixelSize ZoomedSize(PixelSize current, int delta);

}  // namespace etiqo
