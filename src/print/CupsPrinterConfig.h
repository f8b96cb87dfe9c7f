#pragma once
// The printer configuration on libcups. The scheduler is the one libcups finds (CUPS_SERVER,
// client.conf or the local socket); the stored defaults are the user's lpoptions, written the
// way `lpoptions -p PRINTER -o ...` writes them, so `lp` and other programs see them as well.

#include "print/PrinterConfig.h"

namespace etiqo {

class CupsPrinterConfig final : public PrinterConfig {
public:
    std::vector<PrinterEntry> Printers() override;
    bool GetPrinterInfo(const std::string& printer, PrinterInfo& info) override;
    std::string GetPrinterMedia(const std::string& printer) override;
    PaperSizeMM GetPrinterPaperSize(const std::string& printer) override;
    PaperForm FindOrAddPaperForm(const std::string& printer, int widthMM, int heightMM) override;
    bool SetPrinterPaperSize(const std::string& printer, int widthMM, int heightMM) override;
    bool SetPrinterCopies(const std::string& printer, int copies) override;
    std::vector<std::string> ClassMembers(const std::string& printer) override;
    std::string LoadedMedia(const std::string& printer) override;
    bool IsServiceRunning() override;
    std::string WhyUnavailable(const std::string& printer) override;
};

}  // namespace etiqo
