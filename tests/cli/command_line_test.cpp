// The command line's conventions, one row per way a user calls it: help and version without a
// display, exit statuses 0/1/2 in every command, one `etiqo: …` line on stderr per problem, nothing
// left behind by a call that fails, --opt=value, --output, --format and standard output.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
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

// Whether the start of text (short outputs whole) matches pattern: a whole PNG would make the
// regex engine recurse too deep.
bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_match(text.substr(0, 4000), std::regex(pattern));
}

// Every file of the folder with its contents.
std::map<std::string, std::string> Files(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        files[entry.path().filename().string()] = entry.is_regular_file() ? FileText(entry.path()) : "";
    }
    return files;
}

TEST(CommandLine, FollowsTheConventions) {
    TempDir dir;
    Label label;
    label.SetLabelSize(50, 30);
    label.Append(MakeBarcodeElement(40, 40, "ETQ"));
    const auto in = [&](const std::string& name) { return (dir / name).string(); };
    const std::string file = in("label.lab");
    ASSERT_TRUE(SaveLabelFile(label, file));
    std::ofstream(in("text.lab")) << std::string(100, 'x');
    std::ofstream(in("d.csv")) << "a\n1\n2\n";
    std::filesystem::copy_file(file, in("lbl.png"));
    std::filesystem::create_symlink("lbl.png", in("sym.png"));
    std::filesystem::create_hard_link(in("lbl.png"), in("hard.png"));
    const std::string out = in("out.png");
    const std::string pdf = in("out.any");

    // In args "etiqo" stands for the program; outPattern and errPattern are regular expressions
    // joined by `any`, matching the whole of stdout and stderr (every line of it starts with
    // "etiqo: "); made names a file of dir the call must leave, with its first bytes.
    const std::string any = "[\\s\\S]*";
    const std::string oneLine = "etiqo: [^\n]*\n";
    const std::string stopped =
        "\"$1\" render \"$2\" -o \"$3\" --copies 100000 & for i in $(seq 500); do "
        "[ -e \"${3%.png}-3.png\" ] && break; sleep 0.02; done; kill -";
    // clang-format off
    struct Row { const char* name; std::vector<std::string> args; int status; std::string outPattern, errPattern, made = {}, madeStart = {}; };
    const std::vector<Row> rows = {
        {"help", {"--help"}, 0, "usage: etiqo \\[FILE.lab\\]" + any + "info" + any + "printers" + any + "render" + any, ""},
        {"short help", {"-h"}, 0, "usage: etiqo" + any, ""},
        {"version", {"--version"}, 0, "etiqo \\d+\\.\\d+\\.\\d+\n", ""},
        {"short version", {"-V"}, 0, "etiqo \\d+\\.\\d+\\.\\d+\n", ""},
        {"unknown command", {"infoo"}, 2, "", "etiqo: unknown command 'infoo' \\(see etiqo --help\\)\n"},
        {"unknown option", {"--frobnicate"}, 2, "", "etiqo: unknown command '--frobnicate'" + any},
        {"render help", {"render", "--help"}, 0, "Usage: etiqo render" + any + "--output" + any + "--format" + any, ""},
        {"info help", {"info", "--help"}, 0, "Usage: etiqo info" + any, ""},
        {"print help", {"print", "--help"}, 0, "Usage: etiqo print" + any + "--printer" + any + "--force" + any + "--job-size" + any, ""},
        {"printers help", {"printers", "-h"}, 0, "Usage: etiqo printers" + any, ""},
        {"info without file", {"info"}, 2, "", "etiqo: " + any + "see etiqo info --help\\)\n"},
        {"info with two files", {"info", file, file}, 2, "", oneLine},
        {"printers with a word", {"printers", "x"}, 2, "", oneLine},
        {"print copies 0", {"print", file, "--copies", "0"}, 2, "", "etiqo: --copies 0: " + any + "1000000" + any},
        {"copies over the limit", {"print", file, "--copies=2147483647"}, 2, "", "etiqo: --copies 2147483647: " + any + "from 1 to 1000000" + any},
        {"job size 0", {"print", file, "--job-size", "0"}, 2, "", "etiqo: --job-size 0: must be a whole number from 1 to 1000000" + any},
        {"info of a missing file", {"info", in("missing.lab")}, 1, "", "etiqo: [^\n]*missing\\.lab" + any},
        {"info of a text file", {"info", in("text.lab")}, 1, "", "etiqo: [^\n]*text\\.lab" + any},
        {"info of a folder", {"info", dir.Path().string()}, 1, "", "etiqo: [^\n]*" + dir.Path().filename().string() + any},
        {"render of a missing file", {"render", in("missing.lab"), "-o", out}, 1, "", oneLine},
        {"unknown render option", {"render", file, "-o", out, "--frobnicate"}, 2, "", "etiqo: " + any + "frobnicate" + any},
        {"unknown format", {"render", file, "-o", out, "--format", "gif"}, 2, "", "etiqo: --format gif" + any},
        {"unknown extension", {"render", file, "-o", in("out.jpg")}, 2, "", oneLine},
        {"dpi 0", {"render", file, "-o", out, "--dpi", "0"}, 2, "", oneLine},
        {"negative dpi", {"render", file, "-o", out, "--dpi", "-203"}, 2, "", oneLine},
        {"dpi 203x0", {"render", file, "-o", out, "--dpi", "203x0"}, 2, "", oneLine},
        {"render copies 0", {"render", file, "-o", out, "--copies", "0"}, 2, "", oneLine},
        {"render copies over the limit", {"render", file, "-o", out, "--copies=2147483647"}, 2, "", "etiqo: " + any + "from 1 to 1000000" + any},
        {"view without height", {"render", file, "-o", out, "--view", "1000"}, 2, "", oneLine},
        {"render without output", {"render", file}, 2, "", oneLine},
        {"output without name", {"render", file, "-o"}, 2, "", oneLine},
        {"no quantity column", {"render", file, "--data", in("d.csv"), "--quantity", "qty", "-o", out}, 1, "", "etiqo: the data source has no column named qty\n"},
        {"no data file", {"render", file, "--data", in("none.csv"), "-o", out}, 1, "", "etiqo: cannot open the data source" + any},
        {"bad record range", {"render", file, "--data", in("d.csv"), "--records", "3-1", "-o", out}, 2, "", "etiqo: --records 3-1: give A-B" + any},
        {"table and query", {"render", file, "--data", in("d.csv"), "--table", "a", "--query", "b", "-o", out}, 2, "", "etiqo: " + any + "give --table or --query, not both" + any},
        {"database without table", {"render", file, "--data", "postgresql://u@/db", "-o", out}, 2, "", "etiqo: " + any + "say which rows with --table or --query" + any},
        {"PNG pages over the size limit", {"prlimit", "--fsize=4096", "etiqo", "render", file, "-o", out, "--copies", "5"}, 1, "", "etiqo: [^\n]*out-1.png: cannot write \\(File too large\\)\n"},
        {"PDF over the size limit", {"prlimit", "--fsize=4096", "etiqo", "render", file, "-o", in("p.pdf"), "--copies", "50"}, 1, "", "etiqo: [^\n]*p.pdf: cannot write \\(File too large\\)\n"},
        {"pages from data over the size limit", {"prlimit", "--fsize=4096", "etiqo", "render", file, "--data", in("d.csv"), "-o", out}, 1, "", "etiqo: [^\n]*out-1.png: cannot write \\(File too large\\)\n"},
        {"output is the input", {"render", in("lbl.png"), "-o", in("lbl.png")}, 1, "", "etiqo: " + any + "the output is the label file itself" + any},
        {"output links to the input", {"render", in("lbl.png"), "-o", in("sym.png")}, 1, "", "etiqo: [^\n]*sym.png: the output is the label" + any},
        {"output is another name of it", {"render", in("lbl.png"), "-o", in("hard.png")}, 1, "", "etiqo: [^\n]*hard.png: the output is" + any},
        {"a page over the pixel limit", {"render", file, "-o", out, "--dpi", "100000"}, 1, "", "etiqo: " + any + "more than the limit of 64000000 pixels" + any},
        {"several PNG pages to stdout", {"render", file, "-o", "-", "--copies", "2"}, 2, "", oneLine},
        {"--output=", {"render", file, "--output=" + out}, 0, "", "", "out.png", "\x89PNG"},
        {"--format= decides over the name", {"render", file, "--output", pdf, "--format=pdf"}, 0, "", "", "out.any", "%PDF"},
        {"PNG to stdout", {"render", file, "-o", "-"}, 0, "\x89PNG" + any, ""},
        {"stopped by SIGTERM, leaves no page", {"bash", "-c", stopped + "TERM $!; wait $!", "bash", "etiqo", file, in("q.png")}, 143, "", ""},
        {"stopped by SIGINT, leaves no page", {"bash", "-c", stopped + "INT $!; wait $!", "bash", "etiqo", file, in("q.png")}, 130, "", ""},
        {"PDF to stdout", {"render", file, "-o", "-", "--format", "pdf", "--copies", "3"}, 0, "%PDF" + any, ""},
    };
    // clang-format on
    const auto inputs = Files(dir.Path());
    const TempDir counters;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // No display: help, version and every headless command must work without one.
        std::vector<std::string> args = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
        if (row.args.front() == "prlimit") {
            // The limit would also cut short the counters a coverage build writes at exit: they go
            // to a folder of their own, and libgcov's complaint about them nowhere.
            args.push_back("GCOV_PREFIX=" + counters.Path().string());
            args.push_back("GCOV_ERROR_FILE=/dev/null");
        }
        if (std::find(row.args.begin(), row.args.end(), "etiqo") == row.args.end()) {
            args.push_back("etiqo");
        }
        args.insert(args.end(), row.args.begin(), row.args.end());
        std::replace(args.begin(), args.end(), std::string("etiqo"), testing::EtiqoProgram().string());
        const auto run = RunProcess("/usr/bin/env", args);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_TRUE(Matches(run.out, row.outPattern)) << run.out.substr(0, 200);
        EXPECT_TRUE(Matches(run.err, row.errPattern)) << run.err;
        EXPECT_TRUE(std::regex_match(run.err, std::regex("(etiqo: [^\n]*\n)*"))) << run.err;
        auto left = Files(dir.Path());
        if (!row.made.empty()) {
            EXPECT_EQ(left[row.made].substr(0, row.madeStart.size()), row.madeStart);
            left.erase(row.made);
            std::filesystem::remove(dir / row.made);
        }
        EXPECT_TRUE(left == inputs) << "a call leaves its one output and changes nothing else";
    }
}

}  // namespace
}  // namespace etiqo
