#include "model/Geometry.h"

#include <cmath>
#include <limits>

namespace etiqo {

std::int32_t TruncToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

double LabelDots(int dpi, int mm) {
    return dpi * static_cast<double>(mm) * kInchesPerMm + 0.5;
}

DisplayScale ComputeDisplayScale(int viewWidth, int viewHeight, int dpiX, int dpiY, int widthMM,
                                 int heightMM) {
    return {viewWidth / LabelDots(dpiX, widthMM), viewHeight / LabelDots(dpiY, heightMM)};
}

std::int32_t MmFromDots(std::int32_t dots, int dpi) {
    return TruncToInt(dots * 25.4 / dpi + 0.5);
}

std::int32_t DotsFromMm(std::int32_t mm, int dpi) {
    const double product = static_cast<double>(static_cast<std::int64_t>(mm) * dpi);
    return TruncToInt(product * kInchesPerMm + 0.5);
}

PixelSize ChooseCanvasSize(double wd, double hd, int availW, int availH, int widthMM) {
    if (wd < availW && hd <= availH) {
        if (2 * wd <= availW && 2 * hd <= availH) {
            return {TruncToInt(2 * wd), TruncToInt(2 * hd)};
        }
        return {TruncToInt(wd), TruncToInt(hd)};
    }
    if (wd < availW) {
        return {TruncToInt(availH * wd / hd), availH};
    }
    const int perMm = widthMM > 0 ? availW / widthMM : 0;
    PixelSize size{perMm * widthMM, 0};
    size.height = TruncToInt(size.width * hd / wd);
    if (size.height > availH) {
        size.height = availH;
        size.width = TruncToInt(availH * wd / hd);
    }
    return size;
}

PixelSize ZoomedSize(PixelSize current, int delta) {
    const std::int64_t width = static_cast<std::int64_t>(current.width) + delta;
    if (width < kMinZoomedWidth || current.width <= 0 || width > std::numeric_limits<std::int32_t>::max()) {
        return current;
    }
    const std::int64_t height =
        current.height + static_cast<std::int64_t>(current.height) * delta / current.width;
    return {static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace etiqo
