#pragma once
// Hostile labels for tests: records whose fields hold what no designer would save, written as
// label files and then opened, drawn on screen and on paper, and printed to PDF.

#include <filesystem>
#include <string>
#include <vector>

#include "model/Element.h"

namespace etiqo::test {

struct OutputResult {
    std::string openError;              // empty when the file opened
    std::vector<std::string> warnings;  // what the renderer said it could not draw
    bool pdfWritten = false;
    std::vector<Element> after;  // the records after drawing, in list order
};

// Writes the elements as a label file in folder, opens it with ReadLabelFile, draws it as the
// designer's first paint would (selected, so grips are drawn too), renders the printed page at
// 203 dpi twice (serials step) and writes that page to a PDF.
OutputResult OpenDrawAndPrint(const std::filesystem::path& folder, const std::vector<Element>& elements,
                              int widthMM = 50, int heightMM = 30);

// The same for a label file as it stands (a fuzzer's finding); the PDF goes to folder.
OutputResult OpenFileDrawAndPrint(const std::filesystem::path& file, const std::filesystem::path& folder);

}  // namespace etiqo::test
