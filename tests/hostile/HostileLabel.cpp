#include "HostileLabel.h"

#include <QImage>
#include <QPainter>

#include "model/Label.h"
#include "model/LabelFile.h"
#include "model/SnapshotStore.h"
#include "print/HeadlessOutput.h"
#include "print/LabelPage.h"
#include "print/LabelPdf.h"
#include "render/ElementRenderer.h"
#include "render/SymbolCache.h"

namespace etiqo::test {

OutputResult OpenDrawAndPrint(const std::filesystem::path& folder, const std::vector<Element>& elements,
                              int widthMM, int heightMM) {
    OutputResult result;
    const std::filesystem::path file = folder / "hostile.lab";
    {
        Label written(SnapshotStore(folder / "snapshots"));
        written.SetLabelSize(widthMM, heightMM);
        for (const Element& element : elements) {
            written.Append(element);
        }
        if (!SaveLabelFile(written, file)) {
            result.openError = "could not write the test file";
            return result;
        }
    }
    return OpenFileDrawAndPrint(file, folder);
}

OutputResult OpenFileDrawAndPrint(const std::filesystem::path& file, const std::filesystem::path& folder) {
    OutputResult result;
    LabelReadResult read = ReadLabelFile(file);
    if (!read) {
        result.openError = read.error;
        return result;
    }
    Label label(SnapshotStore(folder / "snapshots"));
    label.SetLabelSize(read.contents->widthMM, read.contents->heightMM);
    label.m_elements = std::move(read.contents->elements);
    const auto warn = [&result](const std::string& message) { result.warnings.push_back(message); };

    SymbolCache symbols;
    const PixelSize view = HeadlessView(label);
    PrepareHeadless(label, symbols, view);

    // The designer's first paint, grips included.
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

}  // namespace etiqo::test
