#include "model/PrintSettings.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>

#include "model/PosixFile.h"

namespace etiqo {
namespace {

constexpr std::string_view kSection = "Print Settings";
constexpr std::size_t kTextFieldBytes = 63;  // 64-character fields with their NUL

std::string_view Trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && space(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string Lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The keys of one section, names compared without case as Windows profile files do.
// The first occurrence of a key wins.
// The file's text, or nothing: only a regular file of at most kMaxPrintSettingsBytes is read, so
// a FIFO, a device or a huge file in its place can neither block start-up nor fill memory.
std::string ReadSettingsText(const std::filesystem::path& file) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxPrintSettingsBytes) {
        return {};
    }
    const auto bytes = ReadAll(fd.Get());
    if (!bytes || bytes->size() > static_cast<std::size_t>(kMaxPrintSettingsBytes)) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

std::map<std::string, std::string> ReadSection(const std::filesystem::path& file, std::string_view section) {
    std::map<std::string, std::string> values;
    std::istringstream in(ReadSettingsText(file));
    const std::string wanted = Lowered(section);
    bool inside = false;
    std::string line;
    while (std::getline(in, line)) {
        std::string_view text = Trimmed(line);
        if (text.starts_with("\xEF\xBB\xBF")) {  // a UTF-8 byte-order mark
            text = Trimmed(text.substr(3));
        }
        if (text.empty() || text.front() == ';' || text.front() == '#') {
            continue;
        }
        if (text.front() == '[') {
            const auto close = text.find(']');
            inside = close != std::string_view::npos && Lowered(Trimmed(text.substr(1, close - 1))) == wanted;
            continue;
        }
        const auto equals = text.find('=');
        if (!inside || equals == std::string_view::npos) {
            continue;
        }
        std::string_view value = Trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        values.emplace(Lowered(Trimmed(text.substr(0, equals))), std::string(value));
    }
    return values;
}

int IntValue(const std::map<std::string, std::string>& values, std::string_view key, int fallback) {
    const auto it = values.find(Lowered(key));
    if (it == values.end()) {
        return fallback;
    }
    // Leading digits, as atoi reads them; text without them reads 0. Out-of-range saturates.
    const long value = std::strtol(it->second.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

std::string TextValue(const std::map<std::string, std::string>& values, std::string_view key,
                      std::string_view fallback) {
    const auto it = values.find(Lowered(key));
    std::string value = it == values.end() ? std::string(fallback) : it->second;
    if (value.size() > kTextFieldBytes) {
        std::size_t cut = kTextFieldBytes;
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
            --cut;  // never inside a UTF-8 character
        }
        value.resize(cut);
    }
    return value;
}

}  // namespace

std::filesystem::path PrintSettingsPath() {
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".config";
    }
    return folder / "PrinterSettings.ini";
}

PrintSettings LoadPrintSettings(const std::filesystem::path& iniFile) {
    const auto values = ReadSection(iniFile, kSection);
    const PrintSettings defaults;
    PrintSettings settings;
    settings.speed = IntValue(values, "Speed", defaults.speed);
    settings.density = IntValue(values, "Density", defaults.density);
    settings.labelType = IntValue(values, "LabelType", defaults.labelType);
    settings.gap = TextValue(values, "Gap", defaults.gap);
    settings.media = IntValue(values, "Media", defaults.media);
    settings.savePaper = IntValue(values, "SavePaper", defaults.savePaper);
    settings.cutting = IntValue(values, "Cutting", defaults.cutting);
    settings.cuttingEveryLabel = IntValue(values, "CuttingEveryLabel", 0);  // read as text, then atoi
    settings.offset = TextValue(values, "Offset", defaults.offset);
    return settings;
}

}  // namespace etiqo
