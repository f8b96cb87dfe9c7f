#include "print/PaperForms.h"

#include <cups/cups.h>

#include <cstdio>

namespace etiqo {

std::string CustomMediaName(int widthMM, int heightMM) {
    return "Custom." + std::to_string(widthMM) + "x" + std::to_string(heightMM) + "mm";
}

JobOptions PaperOptions(const PaperForm& paper) {
    JobOptions options{{"media", paper.media}};
    if (!paper.pageSize.empty()) {
        options.emplace_back("PageSize", paper.pageSize);
    }
    return options;
}

std::string PwgMediaName(std::string_view media) {
    const std::string name(media);
    if (pwgMediaForPWG(name.c_str()) && !name.starts_with("custom_min_") &&
        !name.starts_with("custom_max_")) {
        return name;
    }
    const MediaSize100 size = MediaSizeOf(media);
    char pwg[IPP_MAX_NAME];
    if (size.width <= 0 ||
        !pwgFormatSizeName(pwg, sizeof pwg, "custom", nullptr, size.width, size.height, nullptr)) {
        return {};
    }
    return pwg;
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

bool PaperRoundsToSize(MediaSize100 paper, int widthMM, int heightMM) {
    // Half a millimetre either way, in hundredths: 53.98 is 54, 50.5 is not 50.
    const auto rounds = [](int size100, int mm) {
        return size100 >= mm * 100 - 50 && size100 < mm * 100 + 50;
    };
    return rounds(paper.width, widthMM) && rounds(paper.height, heightMM);
}

bool CustomRange100::Holds(int widthMM, int heightMM) const {
    // Within half a millimetre counts, as for listed papers.
    return min.width > 0 && max.width > 0 && widthMM * 100 >= min.width - 50 &&
           widthMM * 100 < max.width + 50 && heightMM * 100 >= min.height - 50 &&
           heightMM * 100 < max.height + 50;
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

std::string MediaDescription(std::string_view media) {
    const PaperSizeMM size = ToWholeMM(MediaSizeOf(media));
    if (!size.IsKnown()) {
        return {};
    }
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " mm (" +
           MediaDisplayName(media) + ")";
}

}  // namespace etiqo
