// The printer settings file: its own section of a small regular file, read leniently.
#include "model/PrintSettings.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "TempDir.h"

namespace etiqo {
namespace {

// Its own section of a small regular file in the user's config folder; anything else gives the
// defaults at once.
TEST(PrintSettings, ReadsItsSectionOfASmallRegularFileOnly) {
    testing::TempDir dir;
    std::ofstream(dir / "PrinterSettings.ini")
        << "\xEF\xBB\xBF; written by hand\r\n[Other]\r\nSpeed=9\r\n[ print settings ]\r\nspeed = 4\n"
        << "Density=12abc\r\nLabelType=x\r\nGap = \"3.5\"\r\nCuttingEveryLabel=  25 labels\r\nOffset="
        << std::string(80, '7') << "\r\nSpeed=5\r\n[Later]\r\nCutting=0\r\n";
    const PrintSettings s = LoadPrintSettings(dir / "PrinterSettings.ini");
    EXPECT_EQ(s.speed, 4);  // the first occurrence wins
    EXPECT_EQ(std::tie(s.density, s.labelType, s.gap, s.cuttingEveryLabel), std::tuple(12, 0, "3.5", 25));
    EXPECT_EQ(s.offset, std::string(63, '7'));
    EXPECT_EQ(std::tie(s.cutting, s.media), std::tuple(1, 0));  // from another section: the defaults stay

    std::ofstream(dir / "large.ini") << "[Print Settings]\nSpeed=4\n"
                                     << std::string(kMaxPrintSettingsBytes, ';');
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    for (const std::filesystem::path& file :
         {dir / "large.ini", dir / "fifo.ini", dir / "missing.ini", std::filesystem::path("/dev/zero")}) {
        EXPECT_EQ(LoadPrintSettings(file).speed, 1) << file;
    }

    // The file lives in the user's config folder.
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(PrintSettingsPath(), std::filesystem::path("/somewhere/config/PrinterSettings.ini"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(PrintSettingsPath(),
              std::filesystem::path(std::getenv("HOME")) / ".config" / "PrinterSettings.ini");
    saved ? ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace etiqo
