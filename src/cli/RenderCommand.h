#pragma once
// etiqo render FILE.lab -o OUT [--dpi D | --dpi DXxDY] [--copies N] [--update] [--view WxH]:
// the label's pages as PNG files or one PDF, drawn exactly as the printer gets them.

#include <optional>
#include <span>
#include <string>

namespace etiqo {

struct RenderOptions {
    std::string labelFile;
    std::string output;  // ends in .png or .pdf
    bool pdf = false;
    int dpiX = 203;
    int dpiY = 203;
    int copies = 1;
    bool update = false;   // write the advanced serial numbers back into labelFile
    int viewWidth = 1000;  // the designer's frame client area the line end points were drawn in
    int viewHeight = 650;
};

// The options, or nullopt with a one-line message in error.
std::optional<RenderOptions> ParseRenderOptions(std::span<char* const> args, std::string& error);

// The file of page `page` (1-based) of `copies`: OUT itself for one page, out-2.png for the second.
std::string PageFileName(const std::string& output, int page, int copies);

// args: the words after "render". Exit status 0, or 1 with one line on stderr and no output left.
int RunRender(std::span<char* const> args);

}  // namespace etiqo
