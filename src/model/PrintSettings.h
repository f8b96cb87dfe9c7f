#pragma once
// Printer options from PrinterSettings.ini, section "Print Settings". Read once, never written.

#include <filesystem>
#include <string>

namespace etiqo {

struct PrintSettings {
    int speed = 1;
    int density = 6;
    int labelType = 0;
    std::string gap = "2.0";  // at most 63 bytes kept
    int media = 0;
    int savePaper = 0;
    int cutting = 1;
    int cuttingEveryLabel = 0;
    std::string offset = "0";  // at most 63 bytes kept
};

// The file's place: the user's config folder (XDG_CONFIG_HOME or ~/.config; %APPDATA% on Windows).
std::filesystem::path PrintSettingsPath();
// A larger settings file (or anything but a regular file) is not read: the defaults apply.
inline constexpr long kMaxPrintSettingsBytes = 64 * 1024;

// A missing file or key yields the default.
PrintSettings LoadPrintSettings(const std::filesystem::path& iniFile);

}  // namespace etiqo
