#pragma once
// Reads back what the label printer drivers of CUPS send to their printers, one decoder per printer
// language, so tests can look at the dots, page sizes and copy counts each printer would get.

#include <QByteArray>
#include <QImage>

#include <optional>
#include <vector>

namespace etiqo::test {

enum class PrinterLanguage {
    Zpl,       // Zebra ZPL: ~DG hex graphics, ^PQ copies
    Cpcl,      // Zebra CPCL: "! 0 xres yres height copies", CG rows
    Dymo,      // DYMO LabelWriter: ESC L length, SYN rows, ESC f skips, ESC E eject
    Pcl,       // Intellitech PCL: ESC*r width/height, delta-row (mode 3) rows, ESC&l copies
    PtouchQl,  // Brother QL raster: G rows (PackBits), Z blank rows, FF / SUB ends a page
    Pwg,       // PWG raster, as driverless printers take it: 1 bit black or 8 bit grey
};

struct PrintedPage {
    QImage graphic;    // black where the head burns; Format_Mono
    int quantity = 1;  // how many times the printer prints the page
    int width = 0;     // dots across as the job states it (0 when it does not)
    int height = 0;    // dots down as the job states it (0 when it does not)
    int bitsPerDot = 1;
    QByteArray media = {};  // the paper the page names (PWG raster's page size name)
};
using ZplPage = PrintedPage;

// Every page of a job in order; nullopt when the data is not a well-formed job of that language.
std::optional<std::vector<PrintedPage>> DecodePrinterJob(PrinterLanguage language, const QByteArray& job);
// A ZPL job's pages; none when it is not well-formed.
std::vector<PrintedPage> DecodeZplJob(const QByteArray& job);

}  // namespace etiqo::test
