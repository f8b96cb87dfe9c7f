#include "print/CupsPrinterConfig.h"

#include <cstdlib>
#include <string_view>

#include "print/CupsHandles.h"
#include "print/PaperForms.h"
#include "print/PpdFile.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

const char* Option(const cups_dest_t& dest, const char* name) {
    return cupsGetOption(name, dest.num_options, dest.options);
}

// A media option may list several keywords ("Custom.50x30mm,thermal"); the first one that names a
// size is the paper.
std::string SizedKeyword(std::string_view value) {
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view keyword = value.substr(0, comma);
        if (MediaSizeOf(keyword).width > 0) {
            return std::string(keyword);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        value.remove_prefix(comma + 1);
    }
    return {};
}

int DotsPerInch(int value, ipp_res_t units) {
    if (units == IPP_RES_PER_CM) {
        value = static_cast<int>(value * 2.54 + 0.5);
    }
    return value > 0 ? value : kFallbackDpi;
}

// The loaded media in one Get-Printer-Attributes answer: the first "media-ready" naming a size,
// else the size of the first "media-col-ready".
std::string ReadyMedia(http_t* http, const char* uri, const char* resource) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kWanted[] = {"media-ready", "media-col-ready"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
    const cups::IppPtr response(cupsDoRequest(http, request, resource));  // frees the request
    if (!response) {
        return {};
    }
    if (ipp_attribute_t* ready = ippFindAttribute(response.get(), "media-ready", IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(ready); ++i) {
            const char* media = ippGetString(ready, i, nullptr);
            if (media && MediaSizeOf(media).width > 0) {
                return media;
            }
        }
    }
    ipp_attribute_t* ready = ippFindAttribute(response.get(), "media-col-ready", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* col = ready ? ippGetCollection(ready, 0) : nullptr;
    ipp_attribute_t* size = col ? ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* dimensions = size ? ippGetCollection(size, 0) : nullptr;
    ipp_attribute_t* x = dimensions ? ippFindAttribute(dimensions, "x-dimension", IPP_TAG_INTEGER) : nullptr;
    ipp_attribute_t* y = dimensions ? ippFindAttribute(dimensions, "y-dimension", IPP_TAG_INTEGER) : nullptr;
    char name[IPP_MAX_NAME];
    if (!x || !y || ippGetInteger(x, 0) <= 0 || ippGetInteger(y, 0) <= 0 ||
        !pwgFormatSizeName(name, sizeof name, "custom", nullptr, ippGetInteger(x, 0), ippGetInteger(y, 0),
                           nullptr)) {
        return {};
    }
    return name;
}

}  // namespace

std::vector<PrinterEntry> CupsPrinterConfig::Printers() {
    cups::DestList list;
    std::vector<PrinterEntry> printers;
    for (const cups_dest_t& dest : list.Dests()) {
        if (dest.instance == nullptr) {  // instances are option sets, not printers
            printers.push_back({dest.name, dest.is_default != 0});
        }
    }
    return printers;
}

bool CupsPrinterConfig::GetPrinterInfo(const std::string& printer, PrinterInfo& info) {
    const cups::DestPtr dest = cups::NamedDest(printer.c_str());
    if (!dest) {
        return false;
    }
    info = PrinterInfo{};
    info.name = printer;
    if (const char* model = Option(*dest, "printer-make-and-model")) {
        info.makeAndModel = model;
    }
    const cups::DestInfoPtr details(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!details) {
        return true;  // known printer, resolution unknown: the fallback stands
    }
    ipp_attribute_t* resolution =
        cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), details.get(), "printer-resolution");
    if (!resolution) {
        resolution =
            cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), details.get(), "printer-resolution");
    }
    if (resolution && ippGetValueTag(resolution) == IPP_TAG_RESOLUTION) {
        int yres = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        const int xres = ippGetResolution(resolution, 0, &yres, &units);
        info.dpiX = DotsPerInch(xres, units);
        info.dpiY = DotsPerInch(yres, units);
    }
    return true;
}

std::string CupsPrinterConfig::GetPrinterMedia(const std::string& printer) {
    const cups::DestPtr dest = cups::NamedDest(printer.c_str());
    if (!dest) {
        return {};
    }
    // The user's stored defaults come first, as `lp` would apply them.
    for (const char* name : {"media", "PageSize"}) {
        if (const char* value = Option(*dest, name)) {
            if (std::string media = SizedKeyword(value); !media.empty()) {
                return media;
            }
        }
    }
    const cups::DestInfoPtr details(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    ipp_attribute_t* media =
        details ? cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest.get(), details.get(), "media") : nullptr;
    const char* name = media ? ippGetString(media, 0, nullptr) : nullptr;
    return name ? name : "";
}

PaperSizeMM CupsPrinterConfig::GetPrinterPaperSize(const std::string& printer) {
    return ToWholeMM(MediaSizeOf(GetPrinterMedia(printer)));
}

PaperForm CupsPrinterConfig::FindOrAddPaperForm(const std::string& printer, int widthMM, int heightMM) {
    // CUPS needs no form added: a custom size is named by its dimensions. The page size goes with
    // it, or PPD drivers snap the page to the nearest listed size.
    const std::string custom = CustomMediaName(widthMM, heightMM);
    PaperForm form{custom, custom, {widthMM, heightMM}, widthMM * 100, heightMM * 100, true};
    const cups::DestPtr dest = cups::NamedDest(printer.c_str());
    const cups::DestInfoPtr details(dest ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()) : nullptr);
    ipp_attribute_t* supported =
        details ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), details.get(), "media") : nullptr;
    const int count = supported ? ippGetCount(supported) : 0;
    const char* exact = nullptr;
    const char* rounded = nullptr;
    CustomRange100 range;
    for (int i = 0; i < count && !exact; ++i) {
        const char* media = ippGetString(supported, i, nullptr);
        const std::string_view name = media ? media : "";
        if (name.starts_with("custom_min_")) {
            range.min = MediaSizeOf(name);
        } else if (name.starts_with("custom_max_")) {
            range.max = MediaSizeOf(name);
        } else if (const MediaSize100 paper = MediaSizeOf(name); IsPaperOfSize(paper, widthMM, heightMM)) {
            exact = media;
        } else if (!rounded && PaperRoundsToSize(paper, widthMM, heightMM)) {
            rounded = media;
        }
    }
    if (const char* listed = exact ? exact : rounded) {
        const MediaSize100 paper = MediaSizeOf(listed);
        form = {listed, {}, {widthMM, heightMM}, paper.width, paper.height, false};
    } else if (count > 0) {
        form.available = range.Holds(widthMM, heightMM);  // a printer listing nothing may take anything
    }
    if (!dest || !form.available) {
        return form;
    }
    // Where the driver cannot print: its PPD's page layout, else what the printer reports for a
    // listed paper.
    const JobOptions options = PaperOptions(form);
    std::optional<PageMargins100> margins;
    if (const PpdPtr ppd = PrinterPpd(printer)) {
        margins = PpdPageMargins(ppd.get(), options);
    } else if (cups_size_t size{};
               !form.custom && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest.get(), details.get(),
                                                      form.media.c_str(), CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        margins = PageMargins100{size.left, size.top, size.right, size.bottom};
    }
    if (margins) {
        form.marginLeft100 = margins->left;
        form.marginTop100 = margins->top;
        form.marginRight100 = margins->right;
        form.marginBottom100 = margins->bottom;
    }
    return form;
}

bool CupsPrinterConfig::SetPrinterPaperSize(const std::string& printer, int widthMM, int heightMM) {
    const PaperForm form = FindOrAddPaperForm(printer, widthMM, heightMM);
    if (!form.available) {
        return false;  // never a default the printer does not have
    }
    cups::DestList list;
    cups_dest_t* dest = list.Find(printer.c_str());
    if (!dest) {
        return false;
    }
    dest->num_options = cupsAddOption("media", form.media.c_str(), dest->num_options, &dest->options);
    if (form.pageSize.empty()) {
        // A page size stored earlier would override the listed paper.
        dest->num_options = cupsRemoveOption("PageSize", dest->num_options, &dest->options);
    } else {
        dest->num_options =
            cupsAddOption("PageSize", form.pageSize.c_str(), dest->num_options, &dest->options);
    }
    return list.Store();
}

bool CupsPrinterConfig::SetPrinterCopies(const std::string& printer, int copies) {
    if (const cups::DestPtr current = cups::NamedDest(printer.c_str())) {
        if (const char* stored = Option(*current, "copies"); stored && std::to_string(copies) == stored) {
            return true;
        }
    }
    cups::DestList list;
    cups_dest_t* dest = list.Find(printer.c_str());
    if (!dest) {
        return false;
    }
    dest->num_options = cupsAddIntegerOption("copies", copies, dest->num_options, &dest->options);
    return list.Store();
}

std::vector<std::string> CupsPrinterConfig::ClassMembers(const std::string& printer) {
    const cups::DestPtr dest = cups::NamedDest(printer.c_str());
    const char* type = dest ? Option(*dest, "printer-type") : nullptr;
    if (!type || (std::strtol(type, nullptr, 10) & CUPS_PRINTER_CLASS) == 0) {
        return {};
    }
    const char* uri = Option(*dest, "printer-uri-supported");
    if (!uri) {
        return {};
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "member-names");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");  // frees the request
    std::vector<std::string> members;
    if (ipp_attribute_t* names =
            response ? ippFindAttribute(response, "member-names", IPP_TAG_NAME) : nullptr) {
        for (int i = 0; i < ippGetCount(names); ++i) {
            members.emplace_back(ippGetString(names, i, nullptr));
        }
    }
    ippDelete(response);
    return members;
}

std::string CupsPrinterConfig::LoadedMedia(const std::string& printer) {
    const cups::DestPtr dest = cups::NamedDest(printer.c_str());
    if (!dest) {
        return {};
    }
    // Only an IPP printer tells what it holds: for a driver's queue the scheduler reports its own
    // default paper as "ready", whatever the roll in the printer.
    const char* device = Option(*dest, "device-uri");
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (!device ||
        httpSeparateURI(HTTP_URI_CODING_ALL, device, scheme, sizeof scheme, user, sizeof user, host,
                        sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK ||
        (std::string_view(scheme) != "ipp" && std::string_view(scheme) != "ipps")) {
        return {};
    }
    const http_encryption_t encryption =
        std::string_view(scheme) == "ipps" ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED;
    http_t* http = httpConnect2(host, port, nullptr, AF_UNSPEC, encryption, 1, 3000, nullptr);
    if (!http) {
        return {};  // a printer that does not answer tells nothing
    }
    std::string media = ReadyMedia(http, device, resource);
    httpClose(http);
    return media;
}

bool CupsPrinterConfig::IsServiceRunning() {
    // libcups reports a scheduler it cannot reach as a missing printer: ask the socket itself.
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http) {
        return false;
    }
    httpClose(http);
    return true;
}

std::string CupsPrinterConfig::WhyUnavailable(const std::string& printer) {
    if (printer.empty()) {
        return Tr(TextId::PrintNoPrinterNamed);
    }
    if (!IsServiceRunning()) {
        return Tr(TextId::PrintServiceUnavailable);
    }
    if (cups::NamedDest(printer.c_str())) {
        return {};
    }
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        return UiText(TextId::PrintNoSuchPrinter, printer).toStdString();
    }
    return UiText(TextId::PrintServiceError, cupsLastErrorString()).toStdString();
}

}  // namespace etiqo
