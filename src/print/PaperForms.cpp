#include "print/PaperForms.h"

#include <cups/cups.h>

#include <cstdio>

namespace etiqo {

std::string CustomMediaName(int widthMM, int heightMM) {
    return "Custom." + std::to_string(widthMM) + "x" + std::to_string(heightMM) + "mm";
}

std::string PaperFormName(int widthMM, int heightMM) {
    char name[64];
    std::snprintf(name, sizeof name, "HPaper(%dmm x %dmm)", widthMM, heightMM);
    return name;
}

namespace {

// PPD drivers name many papers "w<width>h<height>" in points, which libcups does not parse.
MediaSize100 PointsNameSize(const std::string& name) {
    double width = 0;
    double height = 0;
    char tail = 0;
    if (std::sscanf(name.c_str(), "w%lfh%lf%c", &width, &height, &tail) != 2 || width <= 0 || height <= 0) {
        return {};
    }
    constexpr double kHundredthsPerPoint = 2540.0 / 72.0;
    return {static_cast<int>(width * kHundredthsPerPoint + 0.5),
            static_cast<int>(height * kHundredthsPerPoint + 0.5)};
}

}  // namespace

MediaSize100 MediaSizeOf(std::string_view media) {
    const std::string name(media);
    if (const MediaSize100 points = PointsNameSize(name); points.width > 0) {
        return points;
    }
    // PWG self-describing names first, then PPD names (which include Custom.WxH[units]).
    const pwg_media_t* pwg = pwgMediaForPWG(name.c_str());
    if (!pwg) {
        pwg = pwgMediaForPPD(name.c_str());
    }
    if (!pwg) {
        pwg = pwgMediaForLegacy(name.c_str());
    }
    if (!pwg || pwg->width <= 0 || pwg->length <= 0) {
        return {};
    }
    return {pwg->width, pwg->length};
}

PaperSizeMM ToWholeMM(MediaSize100 size) {
    return {size.width / 10 / 10, size.height / 10 / 10};
}

bool IsPaperOfSize(MediaSize100 paper, int widthMM, int heightMM) {
    return paper.width / 10 == widthMM * 10 && paper.height / 10 == heightMM * 10;
}

std::string MediaDisplayName(std::string_view media) {
    if (media.starts_with("Custom.")) {
        const PaperSizeMM mm = ToWholeMM(MediaSizeOf(media));
        if (mm.IsKnown()) {
            return PaperFormName(mm.width, mm.height);
        }
    }
    return std::string(media);
}

}  // namespace etiqo
