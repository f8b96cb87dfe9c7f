#pragma once
// What the print job needs to know about, and change in, a printer: its paper, its copy count,
// its resolution. The changes are the printer's stored defaults for this user, so other
// programs printing to it see them too.

#include <ostream>
#include <string>
#include <vector>

namespace etiqo {

// The resolution assumed when a printer reports none (or nonsense).
inline constexpr int kFallbackDpi = 203;

// A paper size in whole millimetres; {0, 0} when it could not be found.
struct PaperSizeMM {
    int width = 0;
    int height = 0;
    bool IsKnown() const { return width > 0 && height > 0; }
    friend bool operator==(const PaperSizeMM&, const PaperSizeMM&) = default;
    friend std::ostream& operator<<(std::ostream& out, const PaperSizeMM& size) {
        return out << size.width << " x " << size.height << " mm";
    }
};

// A paper as a job and the stored defaults name it: either one the printer lists, or a custom
// size of exactly the label (named "HPaper(Wmm x Hmm)" wherever a name is shown).
struct PaperForm {
    std::string media;     // the printer's own name for a listed paper, "Custom.WxHmm" otherwise
    std::string pageSize;  // what PPD drivers need to lay out a custom page exactly; empty for a listed paper
    PaperSizeMM size;      // whole millimetres, as asked for
    int exactWidth100 = 0;  // the paper's own size, hundredths of a millimetre
    int exactHeight100 = 0;
    bool custom = false;
    // False when the printer lists no such paper and takes no custom size of it: the job would
    // come out on some other paper.
    bool available = true;
    // What the printer cannot print at each edge, hundredths of a millimetre.
    int marginLeft100 = 0;
    int marginTop100 = 0;
    int marginRight100 = 0;
    int marginBottom100 = 0;
    bool HasMargins() const {
        return marginLeft100 > 0 || marginTop100 > 0 || marginRight100 > 0 || marginBottom100 > 0;
    }
};

struct PrinterEntry {
    std::string name;
    bool isDefault = false;
};

struct PrinterInfo {
    std::string name;
    std::string makeAndModel;
    int dpiX = kFallbackDpi;  // dots per inch; never below 1
    int dpiY = kFallbackDpi;
};

class PrinterConfig {
public:
    virtual ~PrinterConfig() = default;

    // Every printer the user can print to, the default one flagged. Empty when there are none or
    // the print service cannot be reached (WhyUnavailable says which).
    virtual std::vector<PrinterEntry> Printers() = 0;

    // Make and model and resolution; false when the printer is unknown or unreachable.
    virtual bool GetPrinterInfo(const std::string& printer, PrinterInfo& info) = 0;

    // The name of the printer's default paper as this user sees it (stored defaults first); empty
    // when it cannot be told.
    virtual std::string GetPrinterMedia(const std::string& printer) = 0;

    // The size of that paper, {0, 0} when it cannot be told.
    virtual PaperSizeMM GetPrinterPaperSize(const std::string& printer) = 0;

    // A paper of exactly width × height mm: one the printer lists (equal in tenths of a millimetre,
    // else the first that rounds to the size), or a custom size, not `available` when the printer
    // takes none of that size.
    virtual PaperForm FindOrAddPaperForm(const std::string& printer, int widthMM, int heightMM) = 0;

    // Makes width × height mm the printer's default paper; false when that could not be stored or
    // the printer has no such paper (nothing is stored then).
    virtual bool SetPrinterPaperSize(const std::string& printer, int widthMM, int heightMM) = 0;

    // Makes the count the printer's default number of copies (unchanged when it already is).
    virtual bool SetPrinterCopies(const std::string& printer, int copies) = 0;

    // The printers of a class (a printer name that stands for several); empty for a printer.
    virtual std::vector<std::string> ClassMembers(const std::string& printer) {
        (void)printer;
        return {};
    }

    // What the printer says is loaded, as a media name (its "media-ready", else the size of its
    // "media-col-ready"); empty where it does not tell.
    virtual std::string LoadedMedia(const std::string& printer) {
        (void)printer;
        return {};
    }

    // Whether the print service answers at all.
    virtual bool IsServiceRunning() = 0;

    // One line telling why the printer cannot be used: the print service is down, there is no such
    // printer, or the last error of the print service. Empty when nothing is wrong.
    virtual std::string WhyUnavailable(const std::string& printer) = 0;
};

}  // namespace etiqo
