#pragma once
// Names of papers: the custom size a job asks for, the name the user is shown, and the size a
// print-service media name stands for.

#include <string>
#include <string_view>

#include "print/PrintSpooler.h"
#include "print/PrinterConfig.h"

namespace etiqo {

// "Custom.50x30mm": the custom-size name CUPS understands as a media and as a PPD page size.
std::string CustomMediaName(int widthMM, int heightMM);

// The options naming a paper in a job, in the user's stored defaults and to a PPD driver, made
// here only so that every job of a label asks for the same size: "media" (and, for a custom
// size, "PageSize", or PPD drivers snap the page to a listed size nearby).
JobOptions PaperOptions(const PaperForm& paper);

// The PWG name of a media's own size: a PWG name as it is, any other ("Custom.50x80mm", "w142h227")
// as a custom size of exactly its size ("custom_50x80mm_50x80mm"); empty when it names no size.
// A PWG raster page carries it as its page size name.
std::string PwgMediaName(std::string_view media);

// "HPaper(50mm x 30mm)": how a custom label paper is named to the user.
std::string PaperFormName(int widthMM, int heightMM);

// The size in hundredths of a millimetre that a PWG ("iso_a4_210x297mm"), PPD ("w144h72") or
// custom ("Custom.50x30mm") media name stands for; {0, 0} when it names no size.
struct MediaSize100 {
    int width = 0;
    int height = 0;
};
MediaSize100 MediaSizeOf(std::string_view media);

// Whole millimetres as the spooler reports them: tenths of a millimetre, truncated, then
// truncated again (50.09 mm is 50 mm).
PaperSizeMM ToWholeMM(MediaSize100 size);

// Whether a listed paper is the label size: equal in tenths of a millimetre, truncated.
bool IsPaperOfSize(MediaSize100 paper, int widthMM, int heightMM);

// Whether a listed paper is the label's size as label stock is sold: labels are whole millimetres,
// most stock is measured in inches, so a paper is the label's size when each side rounds to the
// label's millimetres (a 2-1/8 × 2-3/4 in label, 53.98 × 69.85 mm, is a 54 × 70 mm label).
bool PaperRoundsToSize(MediaSize100 paper, int widthMM, int heightMM);

// The custom size range a printer lists as "custom_min_…" and "custom_max_…" media, if any.
struct CustomRange100 {
    MediaSize100 min;
    MediaSize100 max;
    bool Holds(int widthMM, int heightMM) const;
};

// The name shown for a media: "HPaper(...)" for a custom size, the media's own name otherwise.
std::string MediaDisplayName(std::string_view media);

// "50 x 30 mm (Custom.50x30mm)": a media's size in whole millimetres and its name as shown; empty
// when the media names no size.
std::string MediaDescription(std::string_view media);

}  // namespace etiqo
