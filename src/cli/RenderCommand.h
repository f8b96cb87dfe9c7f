#pragma once
// etiqo render FILE.lab -o OUT [--format png|pdf] [--dpi D | --dpi DXxDY] [--copies N] [--update]
// [--view WxH] [--data SOURCE [--table T | --query SQL] [--quantity COLUMN] [--records A-B]]:
// the label's pages as PNG files or one PDF, drawn exactly as the printer gets them.

#include <QStringList>

#include <string>

#include "cli/DataOptions.h"

namespace etiqo {

struct RenderOptions {
    std::string labelFile;
    std::string output;  // "-": standard output
    bool pdf = false;
    int dpiX = 203;
    int dpiY = 203;
    int copies = 1;
    bool update = false;   // write the advanced serial numbers back into labelFile
    int viewWidth = 1000;  // the designer's frame client area the line end points were drawn in
    int viewHeight = 650;
    DataOptions data;  // one label per record (copies then counts per record)
};

// The file of page `page` (1-based) of `copies`: OUT itself for one page, out-2.png for the second.
std::string PageFileName(const std::string& output, int page, int copies);

// args: the words after "render". Exit status 0; 1 with one line on stderr and no output left; 2 for a
// usage error.
int RunRender(const QStringList& args);

}  // namespace etiqo
