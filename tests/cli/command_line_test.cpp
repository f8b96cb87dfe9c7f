// The command line's conventions, one row per way a user calls it: help and version without a
// display, exit statuses 0/1/2 in every command, `etiqo: …` lines on stderr, --opt=value, --output,
// --format and standard output.

#include <gtest/gtest.h>

#include <regex>

#include "RunProcess.h"
#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/LabelFile.h"

namespace etiqo {
namespace {

using testing::FileText;
using testing::RunProcess;
using testing::TempDir;

// Whether text is the pieces of pattern (regular expressions split at \x01, which stands for any
// text) one after the other, the first at the start and the last at the end unless \x01 ends it.
bool MatchesInOrder(const std::string& text, const std::string& pattern) {
    if (pattern.find('\x01') == std::string::npos) {
        return std::regex_match(text, std::regex(pattern));
    }
    std::vector<std::string> pieces(1);
    for (const char c : pattern) {
        if (c == '\x01') {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(c);
        }
    }
    auto at = text.cbegin();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const bool last = i + 1 == pieces.size();
        std::smatch found;
        const auto flags =
            i == 0 ? std::regex_constants::match_continuous : std::regex_constants::match_default;
        if (last && !pieces[i].empty()) {
            return std::regex_search(at, text.cend(), found, std::regex("(?:" + pieces[i] + ")$"), flags) &&
                   found.suffix().length() == 0;
        }
        if (!std::regex_search(at, text.cend(), found, std::regex(pieces[i]), flags)) {
            return false;
        }
        at = found[0].second;
    }
    return true;
}

TEST(CommandLine, FollowsTheConventions) {
    TempDir dir;
    Label label;
    label.m_nLabelWidthMM = 50;
    label.m_nLabelHeightMM = 30;
    label.Append(MakeBarcodeElement(40, 40, "ETQ-1"));
    const std::string file = (dir / "label.lab").string();
    ASSERT_TRUE(SaveLabelFile(label, file));
    const std::string out = (dir / "out.png").string();
    const std::string pdf = (dir / "out.any").string();

    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string outPattern;     // regular expressions joined by `any`, matching the whole of stdout
        std::string errPattern;     // likewise stderr; every line of it starts with "etiqo: "
        std::string madeFile = {};  // a file the call must leave, with its first bytes
        std::string madeStart = {};
    };
    const std::string any = "\x01";  // any text: pieces are found in order (no deep regex recursion)
    const std::vector<Row> rows = {
        {"help",
         {"--help"},
         0,
         "usage: etiqo \\[FILE.lab\\]" + any + "info" + any + "printers" + any + "render" + any,
         ""},
        {"short help", {"-h"}, 0, "usage: etiqo" + any, ""},
        {"version", {"--version"}, 0, "etiqo \\d+\\.\\d+\\.\\d+\n", ""},
        {"short version", {"-V"}, 0, "etiqo \\d+\\.\\d+\\.\\d+\n", ""},
        {"unknown command", {"infoo"}, 2, "", "etiqo: unknown command 'infoo' \\(see etiqo --help\\)\n"},
        {"unknown option", {"--frobnicate"}, 2, "", "etiqo: unknown command '--frobnicate'" + any},
        {"render help",
         {"render", "--help"},
         0,
         "Usage: etiqo render" + any + "--output" + any + "--format" + any,
         ""},
        {"info help", {"info", "--help"}, 0, "Usage: etiqo info" + any, ""},
        {"print help",
         {"print", "--help"},
         0,
         "Usage: etiqo print" + any + "--printer" + any + "--force" + any + "--job-size" + any,
         ""},
        {"printers help", {"printers", "-h"}, 0, "Usage: etiqo printers" + any, ""},
        {"info without file", {"info"}, 2, "", "etiqo: " + any + "see etiqo info --help\\)\n"},
        {"info with two files", {"info", file, file}, 2, "", "etiqo: " + any},
        {"printers with a word", {"printers", "x"}, 2, "", "etiqo: " + any},
        {"unknown render option",
         {"render", file, "-o", out, "--frobnicate"},
         2,
         "",
         "etiqo: " + any + "frobnicate" + any},
        {"print copies 0",
         {"print", file, "--copies", "0"},
         2,
         "",
         "etiqo: --copies 0: " + any + "1000000" + any},
        {"copies over the limit",
         {"print", file, "--copies=2147483647"},
         2,
         "",
         "etiqo: --copies 2147483647: " + any + "from 1 to 1000000" + any},
        {"job size 0",
         {"print", file, "--job-size", "0"},
         2,
         "",
         "etiqo: --job-size 0: must be a whole number from 1 to 1000000" + any},
        {"info of a missing file", {"info", (dir / "missing.lab").string()}, 1, "", "etiqo: " + any},
        {"unknown format",
         {"render", file, "-o", out, "--format", "gif"},
         2,
         "",
         "etiqo: --format gif" + any},
        {"several PNG pages to stdout", {"render", file, "-o", "-", "--copies", "2"}, 2, "", "etiqo: " + any},
        {"--output=", {"render", file, "--output=" + out}, 0, "", "", out, "\x89PNG"},
        {"--format= decides over the name",
         {"render", file, "--output", pdf, "--format=pdf"},
         0,
         "",
         "",
         pdf,
         "%PDF"},
        {"PNG to stdout", {"render", file, "-o", "-"}, 0, "\x89PNG" + any, ""},
        {"PDF to stdout",
         {"render", file, "-o", "-", "--format", "pdf", "--copies", "3"},
         0,
         "%PDF" + any,
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(out);
        std::filesystem::remove(pdf);
        // No display: help, version and every headless command must work without one.
        const auto run = RunProcess("/usr/bin/env", [&] {
            std::vector<std::string> args = {"-u",
                                             "DISPLAY",
                                             "-u",
                                             "WAYLAND_DISPLAY",
                                             "-u",
                                             "QT_QPA_PLATFORM",
                                             testing::EtiqoProgram().string()};
            args.insert(args.end(), row.args.begin(), row.args.end());
            return args;
        }());
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_TRUE(MatchesInOrder(run.out, row.outPattern)) << run.out.substr(0, 200);
        EXPECT_TRUE(MatchesInOrder(run.err, row.errPattern)) << run.err;
        EXPECT_TRUE(std::regex_match(run.err, std::regex("(etiqo: [^\n]*\n)*"))) << run.err;
        if (!row.madeFile.empty()) {
            EXPECT_EQ(FileText(row.madeFile).substr(0, row.madeStart.size()), row.madeStart);
        }
    }
}

}  // namespace
}  // namespace etiqo
