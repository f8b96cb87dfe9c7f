#pragma once
// Hostile labels for tests: records whose fields hold what no designer would save, written as
// label files and then opened, drawn on screen and on paper, and printed to PDF.

#include <QPainter>

#include "model/LabelFile.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPage.h"
#include "print/LabelPdf.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo::test {

struct OutputResult {
    std::string openError;              // empty when the file opened
    std::vector<std::string> warnings;  // what the renderer said it could not draw
    bool pdfWritten = false;
    std::vector<Element> after;  // the records after drawing, in list order
};

// Opens a label file with ReadLabelFile, draws it as the designer's first paint would (selected,
// so grips are drawn too), renders the printed page at 203 dpi twice (serials step) and writes
// both pages to a PDF in folder.
inline OutputResult OpenFileDrawAndPrint(const std::filesystem::path& file,
                                         const std::filesystem::path& folder) {
    OutputResult result;
    LabelReadResult read = ReadLabelFile(file);
    if (!read) {
        result.openError = read.error;
        return result;
    }
    Label label(SnapshotStore(folder / "snapshots"));
    label.Adopt(std::move(*read.contents), file.string());
    const auto warn = [&result](const std::string& message) { result.warnings.push_back(message); };

    SymbolCache symbols;
    const PixelSize view = HeadlessView(label);
    PrepareHeadless(label, symbols, view);
    const DisplayScale scale = ComputeDisplayScale(view.width, view.height, label.m_nDpiX, label.m_nDpiY,
                                                   label.m_nLabelWidthMM, label.m_nLabelHeightMM);
    QImage screen(view.width, view.height, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        const RenderContext context{painter, symbols, scale, false, scale, warn};
        for (const ElementPtr& element : label.m_elements) {
            element->bSelected = 1;
            DrawElement(context, *element);
            element->bSelected = 0;
        }
    }

    bool serialsMoved = false;
    const LabelPainter draw = HeadlessPainter(symbols, view, warn);
    const QImage first = RenderLabelPage(label, draw, serialsMoved);
    const QImage second = RenderLabelPage(label, draw, serialsMoved);
    const PdfPageSetup setup{{label.m_nLabelWidthMM * 100, label.m_nLabelHeightMM * 100}, 203, 203};
    const QString pdf = QString::fromStdString((folder / "hostile.pdf").string());
    result.pdfWritten = !first.isNull() && !second.isNull() &&
                        WriteLabelPdf(pdf, setup, 2, [&](int page) { return page == 0 ? first : second; }) &&
                        std::filesystem::file_size(folder / "hostile.pdf") > 0;
    for (const ElementPtr& element : label.m_elements) {
        result.after.push_back(*element);
    }
    return result;
}

// The same for the elements, written first as a label file of that size in folder.
inline OutputResult OpenDrawAndPrint(const std::filesystem::path& folder,
                                     const std::vector<Element>& elements, int widthMM = 50,
                                     int heightMM = 30) {
    Label written(SnapshotStore(folder / "snapshots"));
    written.SetLabelSize(widthMM, heightMM);
    for (const Element& element : elements) {
        written.Append(element);
    }
    if (!SaveLabelFile(written, folder / "hostile.lab")) {
        return {"could not write the test file", {}, false, {}};
    }
    return OpenFileDrawAndPrint(folder / "hostile.lab", folder);
}

}  // namespace etiqo::test
