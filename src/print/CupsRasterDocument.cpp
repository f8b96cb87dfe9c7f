#include "print/CupsRasterDocument.h"

#include <QFile>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <cups/raster.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "print/CupsHandles.h"

namespace etiqo {

namespace {

// A PPD driver's page header can only be read through the PPD API, which CUPS marks deprecated
// but keeps for exactly these drivers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

struct PpdDeleter {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdDeleter>;

// The printer's PPD, fetched into a temporary file that is gone again when this returns.
PpdPtr PrinterPpd(const std::string& printer) {
    const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, printer.c_str());
    if (!file) {
        return nullptr;  // a driverless or raw queue
    }
    PpdPtr ppd(ppdOpenFile(file));
    ::unlink(file);
    return ppd;
}

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

// One dot a bit, black as 1 for K and as 0 for W.
bool IsOneBitGrey(const cups_page_header2_t& header) {
    return header.cupsBitsPerColor == 1 && header.cupsBitsPerPixel == 1 &&
           (header.cupsColorSpace == CUPS_CSPACE_K || header.cupsColorSpace == CUPS_CSPACE_W);
}

struct RasterDeleter {
    void operator()(cups_raster_t* raster) const { cupsRasterClose(raster); }
};

// Packs one image row into the driver's bytes: bit 7 of byte 0 is the first dot.
void PackRow(const QImage& image, int y, bool blackIsOne, std::vector<unsigned char>& row) {
    std::fill(row.begin(), row.end(), blackIsOne ? 0x00 : 0xFF);
    if (y >= image.height()) {
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = std::min(image.width(), static_cast<int>(row.size() * 8));
    for (int x = 0; x < width; ++x) {
        if (qGray(pixels[x]) < 128) {
            row[static_cast<std::size_t>(x / 8)] ^= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
}

}  // namespace

CupsRasterDocument::CupsRasterDocument(std::unique_ptr<cups_page_header2_s> header)
    : m_header(std::move(header)) {}
CupsRasterDocument::CupsRasterDocument(CupsRasterDocument&&) noexcept = default;
CupsRasterDocument& CupsRasterDocument::operator=(CupsRasterDocument&&) noexcept = default;
CupsRasterDocument::~CupsRasterDocument() = default;

int CupsRasterDocument::Width() const {
    return static_cast<int>(m_header->cupsWidth);
}

int CupsRasterDocument::Height() const {
    return static_cast<int>(m_header->cupsHeight);
}

std::optional<CupsRasterDocument> CupsRasterDocument::ForPrinter(const std::string& printer,
                                                                 const JobOptions& options) {
    const PpdPtr ppd = PrinterPpd(printer);
    if (!ppd || !DriverReadsRaster(ppd.get())) {
        return std::nullopt;
    }
    std::unique_ptr<cups_page_header2_s> header = InterpretPage(ppd.get(), options);
    if (!header || !IsOneBitGrey(*header) || header->cupsWidth == 0 || header->cupsHeight == 0 ||
        header->cupsBytesPerLine != (header->cupsWidth + 7) / 8) {
        return std::nullopt;
    }
    return CupsRasterDocument(std::move(header));
}

bool CupsRasterDocument::Write(const QString& path, int count, int copies,
                               const std::function<QImage(int)>& page) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    std::unique_ptr<cups_raster_t, RasterDeleter> raster(
        cupsRasterOpen(file.handle(), CUPS_RASTER_WRITE_COMPRESSED));
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
    // The driver makes the copies of a page (ZPL's ^PQ); the queue sends the page once.
    header.NumCopies = static_cast<unsigned>(std::max(copies, 1));
    const bool blackIsOne = header.cupsColorSpace == CUPS_CSPACE_K;
    std::vector<unsigned char> row(header.cupsBytesPerLine);
    for (int i = 0; i < count; ++i) {
        const QImage image = page(i);
        if (image.isNull() || cupsRasterWriteHeader2(raster, &header) == 0) {
            return false;
        }
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (unsigned y = 0; y < header.cupsHeight; ++y) {
            PackRow(rgb, static_cast<int>(y), blackIsOne, row);
            if (cupsRasterWritePixels(raster, row.data(), header.cupsBytesPerLine) == 0) {
                return false;
            }
        }
    }
    return true;
}

int CupsRasterDocument::DpiX() const {
    return static_cast<int>(m_header->HWResolution[0]);
}

int CupsRasterDocument::DpiY() const {
    return static_cast<int>(m_header->HWResolution[1]);
}

}  // namespace etiqo
