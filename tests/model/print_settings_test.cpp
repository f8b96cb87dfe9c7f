// The printer settings file: its own section of a small regular file, read leniently.
#include "model/PrintSettings.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "TempDir.h"

namespace etiqo {
namespace {

// Only a small regular file is read: anything else gives the defaults at once.
TEST(PrintSettings, OnlyASmallRegularFileIsRead) {
    testing::TempDir dir;
    const std::string section = "[Print Settings]\nSpeed=4\n";
    std::ofstream(dir / "small.ini") << section;
    std::ofstream(dir / "large.ini") << section << std::string(kMaxPrintSettingsBytes, ';');
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    const std::pair<std::filesystem::path, int> cases[] = {{dir / "small.ini", 4},
                                                           {dir / "large.ini", 1},
                                                           {dir / "fifo.ini", 1},
                                                           {dir / "missing.ini", 1},
                                                           {"/dev/zero", 1}};
    for (const auto& [file, speed] : cases) {
        EXPECT_EQ(LoadPrintSettings(file).speed, speed) << file;
    }
}

TEST(PrintSettings, ReadsItsSectionOnly) {
    testing::TempDir dir;
    std::ofstream(dir / "PrinterSettings.ini") << "\xEF\xBB\xBF; written by hand\r\n"
                                                  "[Other]\r\nSpeed=9\r\n"
                                                  "[ print settings ]\r\n"
                                                  "speed = 4\r\n"
                                                  "Density=12abc\r\n"
                                                  "LabelType=x\r\n"
                                                  "Gap = \"3.5\"\r\n"
                                                  "CuttingEveryLabel=  25 labels\r\n"
                                                  "Offset=" +
                                                      std::string(80, '7') +
                                                      "\r\n"
                                                      "Speed=5\r\n"
                                                      "[Later]\r\nCutting=0\r\n";
    const PrintSettings s = LoadPrintSettings(dir / "PrinterSettings.ini");
    EXPECT_EQ(s.speed, 4);  // the first occurrence wins
    EXPECT_EQ(s.density, 12);
    EXPECT_EQ(s.labelType, 0);
    EXPECT_EQ(s.gap, "3.5");
    EXPECT_EQ(s.cuttingEveryLabel, 25);
    EXPECT_EQ(s.offset, std::string(63, '7'));
    EXPECT_EQ(s.cutting, 1);  // from another section: the default stays
    EXPECT_EQ(s.media, 0);
}

TEST(PrintSettings, LivesInTheUserConfigFolder) {
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
