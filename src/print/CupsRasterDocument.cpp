#include "print/CupsRasterDocument.h"

#include <QFile>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <cups/raster.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "print/CupsHandles.h"
#include "print/PaperForms.h"
#include "print/PpdFile.h"

namespace etiqo {

namespace {

// A PPD driver's page header can only be read through the PPD API, which CUPS marks deprecated
// but keeps for exactly these drivers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

bool StartsWithRaster(std::string_view filter) {
    return filter.starts_with("application/vnd.cups-raster ");
}

// Whether the driver's filter takes CUPS raster as its input ("*cupsFilter: application/vnd.cups-raster
// 50 rastertolabel", or the same first word in a cupsFilter2 line).
bool DriverReadsRaster(ppd_file_t* ppd) {
    for (int i = 0; i < ppd->num_filters; ++i) {
        if (StartsWithRaster(ppd->filters[i])) {
            return true;
        }
    }
    for (ppd_attr_t* attr = ppdFindAttr(ppd, "cupsFilter2", nullptr); attr;
         attr = ppdFindNextAttr(ppd, "cupsFilter2", nullptr)) {
        if (attr->value && StartsWithRaster(attr->value)) {
            return true;
        }
    }
    return false;
}

// Whether the printer itself reads a raster format: a driverless queue (IPP Everywhere, LPrint)
// passes it through unfiltered ("*cupsFilter2: image/pwg-raster image/pwg-raster 100 -").
bool PrinterReads(ppd_file_t* ppd, std::string_view format) {
    for (ppd_attr_t* attr = ppdFindAttr(ppd, "cupsFilter2", nullptr); attr;
         attr = ppdFindNextAttr(ppd, "cupsFilter2", nullptr)) {
        const std::string_view value = attr->value ? attr->value : "";
        if (value.starts_with(format) && value.substr(format.size()).starts_with(" ") &&
            value.substr(format.size() + 1).starts_with(format)) {
            return true;
        }
    }
    return false;
}

// Whether the driver prints the page header's copy count itself. A PPD saying
// "*cupsManualCopies: True" wants the pages repeated, and CUPS's label filter ignores the count for
// its EPL printers (line and page mode, model numbers 0x10 and 0x11), even for `lp -n`.
bool PpdDriverMakesCopies(ppd_file_t* ppd) {
    if (ppd->manual_copies) {
        return false;
    }
    bool labelFilter = false;
    for (int i = 0; i < ppd->num_filters; ++i) {
        labelFilter = labelFilter || std::string_view(ppd->filters[i]).ends_with(" rastertolabel");
    }
    return !(labelFilter && (ppd->model_number == 0x10 || ppd->model_number == 0x11));
}

std::unique_ptr<cups_page_header2_s> InterpretPage(ppd_file_t* ppd, const JobOptions& options) {
    const cups::OptionList list(options);
    ppdMarkDefaults(ppd);
    cupsMarkOptions(ppd, list.Count(), list.Options());
    auto header = std::make_unique<cups_page_header2_s>();
    if (cupsRasterInterpretPPD(header.get(), ppd, list.Count(), list.Options(), nullptr) != 0) {
        return nullptr;
    }
    return header;
}

#pragma GCC diagnostic pop

// A PWG raster page names its paper by the job's own media, in PWG form, and its size in whole
// points, nearest (the PPD interpreter truncates: 50 mm would be 141 pt, 49.7 mm).
void NamePwgPage(cups_page_header2_t& header, const JobOptions& options) {
    for (const auto& [name, value] : options) {
        if (name == "media") {
            const std::string pwg = PwgMediaName(value);
            std::snprintf(header.cupsPageSizeName, sizeof header.cupsPageSizeName, "%s", pwg.c_str());
        }
    }
    header.PageSize[0] = static_cast<unsigned>(std::lround(header.cupsPageSize[0]));
    header.PageSize[1] = static_cast<unsigned>(std::lround(header.cupsPageSize[1]));
}

// One dot a bit, black as 1 for K and as 0 for W.
bool IsOneBitGrey(const cups_page_header2_t& header) {
    return header.cupsBitsPerColor == 1 && header.cupsBitsPerPixel == 1 &&
           (header.cupsColorSpace == CUPS_CSPACE_K || header.cupsColorSpace == CUPS_CSPACE_W) &&
           header.cupsBytesPerLine == (header.cupsWidth + 7) / 8;
}

// A byte a dot, 0 black and 255 white: the grey a driverless printer takes when it offers no 1 bit.
bool IsEightBitGrey(const cups_page_header2_t& header) {
    return header.cupsBitsPerColor == 8 && header.cupsBitsPerPixel == 8 &&
           (header.cupsColorSpace == CUPS_CSPACE_SW || header.cupsColorSpace == CUPS_CSPACE_W) &&
           header.cupsBytesPerLine == header.cupsWidth;
}

struct RasterDeleter {
    void operator()(cups_raster_t* raster) const { cupsRasterClose(raster); }
};

// Packs image row y from dot x0 on into the driver's bytes: one bit a dot (bit 7 of byte 0 is the
// first dot), or one byte a dot; the dots stay black or white, never dithered.
void PackRow(const QImage& image, int x0, int y, bool blackIsOne, bool byteADot,
             std::vector<unsigned char>& row) {
    const unsigned char white = blackIsOne ? 0x00 : 0xFF;
    std::fill(row.begin(), row.end(), white);
    if (y < 0 || y >= image.height()) {
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int dots = static_cast<int>(row.size()) * (byteADot ? 1 : 8);
    const int width = std::min(image.width() - x0, dots);
    for (int x = std::max(0, -x0); x < width; ++x) {
        if (qGray(pixels[x + x0]) >= 128) {
            continue;
        }
        if (byteADot) {
            row[static_cast<std::size_t>(x)] = static_cast<unsigned char>(~white);
        } else {
            row[static_cast<std::size_t>(x / 8)] ^= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
}

// A PPD page header describes only the imageable area: its first row and column are the page's
// dots at the area's top-left corner, as CUPS's own rasterisers place a page.
int Dots(float points, unsigned dpi) {
    return static_cast<int>(std::lround(points * static_cast<float>(dpi) / 72.0f));
}

}  // namespace

CupsRasterDocument::CupsRasterDocument(std::unique_ptr<cups_page_header2_s> header, bool driverMakesCopies,
                                       Format format)
    : m_header(std::move(header)), m_driverMakesCopies(driverMakesCopies), m_format(format) {}
CupsRasterDocument::CupsRasterDocument(CupsRasterDocument&&) noexcept = default;
CupsRasterDocument& CupsRasterDocument::operator=(CupsRasterDocument&&) noexcept = default;
CupsRasterDocument::~CupsRasterDocument() = default;

std::optional<CupsRasterDocument> CupsRasterDocument::ForPrinter(const std::string& printer,
                                                                 const JobOptions& options) {
    const PpdPtr ppd = PrinterPpd(printer);
    if (!ppd) {
        return std::nullopt;
    }
    // A printer taking Apple raster (URF) only, as LPrint's do, gets it in grey: URF has no 1 bit.
    const bool urf = !PrinterReads(ppd.get(), "image/pwg-raster") && PrinterReads(ppd.get(), "image/urf");
    if (urf || PrinterReads(ppd.get(), "image/pwg-raster")) {
        // One bit a dot where the printer offers it (its "FastGray" colour model), else its grey.
        JobOptions oneBit = options;
        oneBit.emplace_back("ColorModel", "FastGray");
        for (const JobOptions* tried : std::initializer_list<const JobOptions*>{&oneBit, &options}) {
            std::unique_ptr<cups_page_header2_s> header = InterpretPage(ppd.get(), *tried);
            if (header && header->cupsWidth > 0 && header->cupsHeight > 0 &&
                ((IsOneBitGrey(*header) && !urf) || IsEightBitGrey(*header))) {
                NamePwgPage(*header, options);
                return CupsRasterDocument(std::move(header), PpdDriverMakesCopies(ppd.get()),
                                          urf ? Format::Urf : Format::Pwg);
            }
        }
        return std::nullopt;
    }
    if (!DriverReadsRaster(ppd.get())) {
        return std::nullopt;
    }
    std::unique_ptr<cups_page_header2_s> header = InterpretPage(ppd.get(), options);
    if (!header || !IsOneBitGrey(*header) || header->cupsWidth == 0 || header->cupsHeight == 0) {
        return std::nullopt;
    }
    return CupsRasterDocument(std::move(header), PpdDriverMakesCopies(ppd.get()), Format::Cups);
}

bool CupsRasterDocument::Write(const QString& path, int count, int copies,
                               const std::function<QImage(int)>& page) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    std::unique_ptr<cups_raster_t, RasterDeleter> raster(
        cupsRasterOpen(file.handle(), m_format == Format::Pwg   ? CUPS_RASTER_WRITE_PWG
                                      : m_format == Format::Urf ? CUPS_RASTER_WRITE_APPLE
                                                                : CUPS_RASTER_WRITE_COMPRESSED));
    if (!raster) {
        return false;
    }
    const bool written = WritePages(raster.get(), count, copies, page);
    raster.reset();  // flushes what the compressor holds
    return written && file.flush();
}

bool CupsRasterDocument::WritePages(cups_raster_t* raster, int count, int copies,
                                    const std::function<QImage(int)>& page) const {
    cups_page_header2_t header = *m_header;
    // Where the driver makes the copies of a page (ZPL's ^PQ) the page goes once; otherwise it is
    // repeated, as CUPS's own filters would repeat it.
    const int repeats = m_driverMakesCopies ? 1 : std::max(copies, 1);
    header.NumCopies = m_driverMakesCopies ? static_cast<unsigned>(std::max(copies, 1)) : 1;
    const bool blackIsOne = header.cupsColorSpace == CUPS_CSPACE_K;
    const bool byteADot = header.cupsBitsPerPixel == 8;
    const int left = Dots(header.cupsImagingBBox[0], header.HWResolution[0]);
    const int top = Dots(header.cupsPageSize[1] - header.cupsImagingBBox[3], header.HWResolution[1]);
    std::vector<unsigned char> row(header.cupsBytesPerLine);
    for (int i = 0; i < count; ++i) {
        const QImage image = page(i);
        if (image.isNull()) {
            return false;
        }
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int r = 0; r < repeats; ++r) {
            if (cupsRasterWriteHeader2(raster, &header) == 0) {
                return false;
            }
            for (unsigned y = 0; y < header.cupsHeight; ++y) {
                PackRow(rgb, left, static_cast<int>(y) + top, blackIsOne, byteADot, row);
                if (cupsRasterWritePixels(raster, row.data(), header.cupsBytesPerLine) == 0) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool CupsRasterDocument::DriverMakesCopies() const {
    return m_driverMakesCopies;
}

bool CupsRasterDocument::IsPwgRaster() const {
    return m_format != Format::Cups;
}

int CupsRasterDocument::DpiX() const {
    return static_cast<int>(m_header->HWResolution[0]);
}

int CupsRasterDocument::DpiY() const {
    return static_cast<int>(m_header->HWResolution[1]);
}

}  // namespace etiqo
