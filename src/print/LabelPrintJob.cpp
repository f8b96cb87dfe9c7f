#include "print/LabelPrintJob.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cstring>

#include "model/Serial.h"
#include "print/CupsRasterDocument.h"
#include "print/LabelPdf.h"
#include "print/PaperForms.h"
#include "print/PrintServer.h"
#include "print/TextFormat.h"
#include "res/Texts.h"

namespace etiqo {

namespace {

PrintResult Failure(PrintResult::Status status, std::string error) {
    PrintResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

}  // namespace

LabelPrintJob::LabelPrintJob(PrinterConfig& printers, PrintSpooler& spooler, LabelPainter painter)
    : m_printers(printers), m_spooler(spooler), m_painter(std::move(painter)) {}

PrintResult LabelPrintJob::Print(Label& label, const std::string& printer, int copies) {
    return Run(label, printer, copies, HasSerializedElement(label));
}

PrintResult LabelPrintJob::PrintPages(Label& label, const std::string& printer, int pages) {
    return Run(label, printer, pages, true);
}

PrintResult LabelPrintJob::Run(Label& label, const std::string& printerName, int copies, bool serialized) {
    // An empty copies box is no request to print (nor to change the printer's defaults).
    if (copies < 1) {
        return Failure(PrintResult::Status::NothingToPrint, {});
    }
    label.m_strPrinterName = printerName;
    const PrintServerScope server(printerName);  // QUEUE@HOST: the queue on that server
    const std::string& printer = server.Queue();

    // A printer that cannot be used changes nothing (its defaults could not be changed anyway).
    PrinterInfo info;
    if (!m_printers.GetPrinterInfo(printer, info)) {
        return Failure(PrintResult::Status::PrinterUnavailable, m_printers.WhyUnavailable(printer));
    }

    if (!PageWithinLimit(label.m_nLabelWidthMM, label.m_nLabelHeightMM, info.dpiX, info.dpiY)) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintPageTooLarge));
    }

    // A label size the printer cannot take would come out on some other paper, cut.
    const int width = label.m_nLabelWidthMM;
    const int height = label.m_nLabelHeightMM;
    const PaperForm paper = m_printers.FindOrAddPaperForm(printer, width, height);
    if (!paper.available && !m_allowUnavailablePaper) {
        return Failure(PrintResult::Status::PaperUnavailable,
                       TrFormat(TextId::PrintPaperUnavailable,
                                {printer, std::to_string(width), std::to_string(height)}));
    }

    // A class hands each job to whichever of its printers is free: each must take the paper, and
    // at the class's resolution, or the labels would come out in different sizes.
    for (const std::string& member : m_printers.ClassMembers(printer)) {
        PrinterInfo memberInfo;
        if (!m_printers.GetPrinterInfo(member, memberInfo)) {
            continue;
        }
        if (memberInfo.dpiX != info.dpiX || memberInfo.dpiY != info.dpiY) {
            return Failure(
                PrintResult::Status::PrinterUnavailable,
                TrFormat(TextId::PrintClassMixedResolution,
                         {printer, member, std::to_string(memberInfo.dpiX), std::to_string(info.dpiX)}));
        }
        if (!m_allowUnavailablePaper && !m_printers.FindOrAddPaperForm(member, width, height).available) {
            return Failure(PrintResult::Status::PaperUnavailable,
                           TrFormat(TextId::PrintPaperUnavailable,
                                    {member, std::to_string(width), std::to_string(height)}));
        }
    }

    // The paper and the copy count as the printer's defaults: other programs printing labels
    // to it get the same. A failure here does not stop the job, which carries its own options.
    if (paper.available && m_printers.GetPrinterPaperSize(printer) != PaperSizeMM{width, height} &&
        m_printers.GetPrinterMedia(printer) != paper.media) {
        m_printers.SetPrinterPaperSize(printer, width, height);
    }
    const int deviceCopies = serialized ? 1 : copies;
    m_printers.SetPrinterCopies(printer, deviceCopies);

    // From now on millimetres become dots at the printer's resolution, on screen as well.
    label.m_nDpiX = info.dpiX;
    label.m_nDpiY = info.dpiY;

    PrintResult result;
    result.pages = serialized ? copies : 1;
    result.deviceCopies = deviceCopies;

    JobOptions options = PaperOptions(paper);
    options.emplace_back("copies", std::to_string(deviceCopies));
    // One page printed n times: the printer repeats it (^PQn on ZPL) instead of receiving n pages.
    options.emplace_back("Collate", "False");
    options.emplace_back("multiple-document-handling", "separate-documents-uncollated-copies");
    options.emplace_back("print-scaling", "none");

    QTemporaryFile document(QDir::tempPath() + QStringLiteral("/etiqo-job-XXXXXX"));
    if (!document.open()) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintDocumentNotWritten));
    }
    document.close();  // written by name below; the object still removes it at the end
    // The scan check sees each page as it goes out, with the records as they were drawn on it.
    std::vector<FailingPage> failing;
    std::vector<std::string> contentsBefore;
    if (m_checker) {
        for (const ElementPtr& e : label.m_elements) {
            contentsBefore.emplace_back(e ? std::string(e->str, sizeof e->str) : std::string());
        }
    }
    const auto render = [&](int page) {
        if (!m_checker) {
            return RenderLabelPage(label, m_painter, result.serialsMoved);
        }
        std::vector<DrawnElement> drawn =
            m_drawn ? std::vector<DrawnElement>() : DrawnElements(label.m_elements);
        QImage image = RenderLabelPage(label, m_painter, result.serialsMoved);
        if (m_drawn) {
            drawn = m_drawn();
        }
        if (PageCheck check = m_checker->CheckPage(image, drawn); check.Fails()) {
            failing.push_back(FailingPage{page + 1, std::move(check)});
        }
        return image;
    };
    // A driver that reads CUPS raster at our resolution gets the dots themselves; any other
    // printer a PDF of the same page images.
    std::optional<CupsRasterDocument> raster = CupsRasterDocument::ForPrinter(printer, options);
    if (raster && raster->IsPwgRaster()) {
        // A driverless printer gets its raster at the resolution its queue lays pages out at, one
        // the printer offers.
        label.m_nDpiX = info.dpiX = raster->DpiX();
        label.m_nDpiY = info.dpiY = raster->DpiY();
    }
    if (raster && (raster->DpiX() != info.dpiX || raster->DpiY() != info.dpiY)) {
        raster.reset();
    }
    if (raster && !raster->DriverMakesCopies()) {
        // The document repeats the page: asking for copies as well would multiply them.
        for (auto& [name, value] : options) {
            if (name == "copies") {
                value = std::to_string(1);
            }
        }
    }
    const bool written =
        raster
            ? raster->Write(document.fileName(), result.pages, deviceCopies, render)
            : WriteLabelPdf(document.fileName(),
                            PdfPageSetup{{paper.exactWidth100, paper.exactHeight100}, info.dpiX, info.dpiY},
                            result.pages, render);
    if (!written) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintDocumentNotWritten));
    }

    if (!failing.empty() && !(m_approve && m_approve(failing))) {
        // Nothing went out: the next job prints the same numbers. A barcode's bars are encoded anew.
        for (std::size_t i = 0; i < label.m_elements.size() && i < contentsBefore.size(); ++i) {
            if (Element* e = label.m_elements[i].get(); e && contentsBefore[i].size() == sizeof e->str) {
                std::memcpy(e->str, contentsBefore[i].data(), sizeof e->str);
            }
        }
        PrintResult refused = Failure(PrintResult::Status::CheckRefused, Tr(TextId::CheckNotSent));
        refused.serialsMoved = result.serialsMoved;
        return refused;
    }

    result.jobId =
        m_spooler.SubmitDocument(printer, document.fileName().toStdString(), kDocumentName, options);
    if (result.jobId <= 0) {
        PrintResult failed = Failure(PrintResult::Status::SubmitFailed, m_spooler.LastError());
        failed.serialsMoved = result.serialsMoved;
        return failed;
    }
    return result;
}

}  // namespace etiqo
