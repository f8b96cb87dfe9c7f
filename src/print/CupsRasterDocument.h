#pragma once
// The document for a printer whose driver reads CUPS raster itself, as the PPD drivers of label
// printers do: the label's dots go to the driver as they are, with no PDF interpreter between
// them to re-rasterise the page (which also costs most of a job's time).

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "print/PrintSpooler.h"

struct cups_page_header2_s;  // libcups' page header; its header pulls in the deprecated PPD API
struct _cups_raster_s;

namespace etiqo {

class CupsRasterDocument {
public:
    CupsRasterDocument(CupsRasterDocument&&) noexcept;
    CupsRasterDocument& operator=(CupsRasterDocument&&) noexcept;
    ~CupsRasterDocument();

    // The driver's page for a job with these options (its paper, resolution, darkness and the
    // other settings it reads from the page header); nullopt when the printer has no PPD driver,
    // its driver does not read CUPS raster, or it wants more than one bit a dot. A driverless
    // printer that takes PWG raster gets it at one bit a dot where it offers that, else a byte.
    static std::optional<CupsRasterDocument> ForPrinter(const std::string& printer,
                                                        const JobOptions& options);

    // Whether the driver prints a page's copies itself; otherwise Write repeats the page and the job
    // asks for one copy.
    bool DriverMakesCopies() const;
    // Whether the printer takes the raster itself (PWG raster, or Apple raster where it takes no PWG:
    // a driverless printer) rather than a driver CUPS raster.
    bool IsPwgRaster() const;

    // The resolution the driver prints at, dots per inch.
    int DpiX() const;
    int DpiY() const;

    // Writes page(0) … page(count − 1), each printed `copies` times (by the driver where it makes
    // copies, else the page is repeated). A page image is placed with its top-left dot at the
    // paper's corner: what lies outside the printable area is cut, what it lacks is blank.
    // False when the file could not be written or a page came back null.
    bool Write(const QString& path, int count, int copies, const std::function<QImage(int)>& page) const;

private:
    enum class Format { Cups, Pwg, Urf };
    CupsRasterDocument(std::unique_ptr<cups_page_header2_s> header, bool driverMakesCopies, Format format);
    bool WritePages(_cups_raster_s* raster, int count, int copies,
                    const std::function<QImage(int)>& page) const;
    std::unique_ptr<cups_page_header2_s> m_header;
    bool m_driverMakesCopies = true;
    Format m_format = Format::Cups;
};

}  // namespace etiqo
