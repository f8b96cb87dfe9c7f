#include "print/PrintCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "print/LabelPage.h"
#include "print/PaperForms.h"
#include "print/PrintServer.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

int DotsOf(int hundredthsMM, int dpi) {
    return static_cast<int>(std::ceil(hundredthsMM * dpi / 2540.0 - 1e-6));
}

std::string Millimetres(int hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", hundredths / 100.0);
    return text;
}

// The element's extent in dots; a line counts by its start point, its end being display pixels.
struct Extent {
    int left, top, right, bottom;
};
Extent ExtentOf(const Element& e) {
    if (e.nKind == ElementKind::Line) {
        return {e.nPosX, e.nPosY, e.nPosX + 1, e.nPosY + 1};
    }
    const int x2 = e.nPosX + e.nWidth;
    const int y2 = e.nPosY + e.nHeight;
    return {std::min(e.nPosX, x2), std::min(e.nPosY, y2), std::max(e.nPosX, x2), std::max(e.nPosY, y2)};
}

}  // namespace

DotRect PrintableDots(const PaperForm& paper, int widthDots, int heightDots, int dpiX, int dpiY) {
    return {DotsOf(paper.marginLeft100, dpiX), DotsOf(paper.marginTop100, dpiY),
            widthDots - DotsOf(paper.marginRight100, dpiX), heightDots - DotsOf(paper.marginBottom100, dpiY)};
}

PrintCheck CheckBeforePrinting(PrinterConfig& printers, const Label& label, const std::string& printerName) {
    const PrintServerScope server(printerName);
    const std::string& printer = server.Queue();
    PrintCheck check;
    PrinterInfo info;
    if (!printers.GetPrinterInfo(printer, info)) {
        return check;  // the job itself says why the printer cannot be used
    }
    check.dpiX = info.dpiX;
    check.dpiY = info.dpiY;
    const int width = label.m_nLabelWidthMM;
    const int height = label.m_nLabelHeightMM;
    check.paper = printers.FindOrAddPaperForm(printer, width, height);
    if (!check.paper.available) {
        check.paperUnavailable = true;
        check.warnings.push_back(UiText(TextId::PrintPaperUnavailable, printer, width, height).toStdString());
        return check;
    }
    // A label printer holds one roll: a label of another size comes out on the loaded one.
    if (const std::string loaded = printers.LoadedMedia(printer); !loaded.empty()) {
        const MediaSize100 size = MediaSizeOf(loaded);
        if (!IsPaperOfSize(size, width, height) && !PaperRoundsToSize(size, width, height)) {
            check.warnings.push_back(
                UiText(TextId::PrintLoadedMediaDiffers, printer, MediaDescription(loaded), width, height)
                    .toStdString());
        }
    }
    if (!check.paper.HasMargins()) {
        return check;
    }
    Label sized;
    sized.m_nLabelWidthMM = width;
    sized.m_nLabelHeightMM = height;
    sized.m_nDpiX = info.dpiX;
    sized.m_nDpiY = info.dpiY;
    const QSize dots = LabelSizeInDots(sized);
    const DotRect printable = PrintableDots(check.paper, dots.width(), dots.height(), info.dpiX, info.dpiY);
    const bool outside =
        std::any_of(label.m_elements.begin(), label.m_elements.end(), [&](const ElementPtr& e) {
            const Extent x = ExtentOf(*e);
            return x.left < printable.left || x.top < printable.top || x.right > printable.right ||
                   x.bottom > printable.bottom;
        });
    if (outside) {
        check.warnings.push_back(
            UiText(TextId::PrintOutsidePrintable, printer, Millimetres(check.paper.marginTop100),
                   Millimetres(check.paper.marginBottom100), Millimetres(check.paper.marginLeft100),
                   Millimetres(check.paper.marginRight100))
                .toStdString());
    }
    return check;
}

}  // namespace etiqo
