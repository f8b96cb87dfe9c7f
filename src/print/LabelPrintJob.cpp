#include "print/LabelPrintJob.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cstring>
#include <optional>

#include "model/Serial.h"
#include "print/CupsRasterDocument.h"
#include "print/LabelPdf.h"
#include "print/PaperForms.h"
#include "print/PrintServer.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

PrintResult Failure(PrintResult::Status status, std::string error) {
    PrintResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

// A step's answer: nothing when the job may go on, else the result that ends it.
using Refusal = std::optional<PrintResult>;

Refusal PaperRefused(const std::string& printer, PaperSizeMM size) {
    return Failure(PrintResult::Status::PaperUnavailable,
                   UiText(TextId::PrintPaperUnavailable, printer, size.width, size.height).toStdString());
}

// The printer must be usable and able to hold a page of the label at its resolution. A printer that
// cannot be used changes nothing (its defaults could not be changed anyway).
Refusal CheckPrinter(PrinterConfig& printers, const std::string& printer, PaperSizeMM size,
                     PrinterInfo& info) {
    if (!printers.GetPrinterInfo(printer, info)) {
        return Failure(PrintResult::Status::PrinterUnavailable, printers.WhyUnavailable(printer));
    }
    if (!PageWithinLimit(size.width, size.height, info.dpiX, info.dpiY)) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintPageTooLarge));
    }
    return std::nullopt;
}

// A label size the printer cannot take would come out on some other paper, cut.
Refusal ChoosePaper(PrinterConfig& printers, const std::string& printer, PaperSizeMM size,
                    bool allowUnavailable, PaperForm& paper) {
    paper = printers.FindOrAddPaperForm(printer, size.width, size.height);
    if (!paper.available && !allowUnavailable) {
        return PaperRefused(printer, size);
    }
    return std::nullopt;
}

// A class hands each job to whichever of its printers is free: each must take the paper, and
// at the class's resolution, or the labels would come out in different sizes.
Refusal CheckClassMembers(PrinterConfig& printers, const std::string& printer, const PrinterInfo& info,
                          PaperSizeMM size, bool allowUnavailable) {
    for (const std::string& member : printers.ClassMembers(printer)) {
        PrinterInfo memberInfo;
        if (!printers.GetPrinterInfo(member, memberInfo)) {
            continue;
        }
        if (memberInfo.dpiX != info.dpiX || memberInfo.dpiY != info.dpiY) {
            return Failure(
                PrintResult::Status::PrinterUnavailable,
                UiText(TextId::PrintClassMixedResolution, printer, member, memberInfo.dpiX, info.dpiX)
                    .toStdString());
        }
        if (!allowUnavailable && !printers.FindOrAddPaperForm(member, size.width, size.height).available) {
            return PaperRefused(member, size);
        }
    }
    return std::nullopt;
}

// The paper and the copy count as the printer's defaults: other programs printing labels to it
// get the same. A failure here does not stop the job, which carries its own options.
void StoreDefaults(PrinterConfig& printers, const std::string& printer, const PaperForm& paper,
                   PaperSizeMM size, int deviceCopies) {
    if (paper.available && printers.GetPrinterPaperSize(printer) != size &&
        printers.GetPrinterMedia(printer) != paper.media) {
        printers.SetPrinterPaperSize(printer, size.width, size.height);
    }
    printers.SetPrinterCopies(printer, deviceCopies);
}

JobOptions MakeJobOptions(const PaperForm& paper, int deviceCopies) {
    JobOptions options = PaperOptions(paper);
    options.emplace_back("copies", std::to_string(deviceCopies));
    // One page printed n times: the printer repeats it (^PQn on ZPL) instead of receiving n pages.
    options.emplace_back("Collate", "False");
    options.emplace_back("multiple-document-handling", "separate-documents-uncollated-copies");
    options.emplace_back("print-scaling", "none");
    return options;
}

// A driver that reads CUPS raster at our resolution gets the dots themselves; any other printer
// (nullopt) a PDF of the same page images. A driverless printer gets its raster at the resolution
// its queue lays pages out at, one the printer offers: the label and info take it.
std::optional<CupsRasterDocument> ChooseRoute(const std::string& printer, JobOptions& options, Label& label,
                                              PrinterInfo& info) {
    std::optional<CupsRasterDocument> raster = CupsRasterDocument::ForPrinter(printer, options);
    if (raster && raster->IsPwgRaster()) {
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
    return raster;
}

// The job's pages as they are written. With a scan check each page is checked as it goes out, with
// the records as they were drawn on it, and the contents before the first page are kept so that
// serial numbers can be put back.
class JobPages {
public:
    JobPages(Label& label, const LabelPainter& painter, LabelChecker* checker,
             const std::function<std::vector<DrawnElement>()>& drawn)
        : m_label(label), m_painter(painter), m_checker(checker), m_drawn(drawn) {
        if (m_checker) {
            for (const ElementPtr& e : label.m_elements) {
                m_contentsBefore.emplace_back(e ? std::string(e->str, sizeof e->str) : std::string());
            }
        }
    }

    QImage Render(int page) {
        if (!m_checker) {
            return RenderLabelPage(m_label, m_painter, m_serialsMoved);
        }
        std::vector<DrawnElement> drawn =
            m_drawn ? std::vector<DrawnElement>() : DrawnElements(m_label.m_elements);
        QImage image = RenderLabelPage(m_label, m_painter, m_serialsMoved);
        if (m_drawn) {
            drawn = m_drawn();
        }
        if (PageCheck check = m_checker->CheckPage(image, drawn); check.Fails()) {
            m_failing.push_back(FailingPage{page + 1, std::move(check)});
        }
        return image;
    }

    // Nothing went out: the next job prints the same numbers. A barcode's bars are encoded anew.
    void PutContentsBack() {
        for (std::size_t i = 0; i < m_label.m_elements.size() && i < m_contentsBefore.size(); ++i) {
            if (Element* e = m_label.m_elements[i].get(); e && m_contentsBefore[i].size() == sizeof e->str) {
                std::memcpy(e->str, m_contentsBefore[i].data(), sizeof e->str);
            }
        }
    }

    const std::vector<FailingPage>& Failing() const { return m_failing; }
    bool SerialsMoved() const { return m_serialsMoved; }

private:
    Label& m_label;
    const LabelPainter& m_painter;
    LabelChecker* m_checker;
    const std::function<std::vector<DrawnElement>()>& m_drawn;
    std::vector<std::string> m_contentsBefore;
    std::vector<FailingPage> m_failing;
    bool m_serialsMoved = false;
};

bool WriteDocument(const QString& path, const std::optional<CupsRasterDocument>& raster,
                   const PaperForm& paper, const PrinterInfo& info, int pages, int deviceCopies,
                   JobPages& render) {
    const auto page = [&render](int index) { return render.Render(index); };
    return raster ? raster->Write(path, pages, deviceCopies, page)
                  : WriteLabelPdf(
                        path, PdfPageSetup{{paper.exactWidth100, paper.exactHeight100}, info.dpiX, info.dpiY},
                        pages, page);
}

// Hands the written document to the printer's queue; the result gains the job id.
PrintResult Queue(PrintSpooler& spooler, const std::string& printer, const std::string& document,
                  const JobOptions& options, PrintResult result) {
    result.jobId = spooler.SubmitDocument(printer, document, LabelPrintJob::kDocumentName, options);
    if (result.jobId <= 0) {
        PrintResult failed = Failure(PrintResult::Status::SubmitFailed, spooler.LastError());
        failed.serialsMoved = result.serialsMoved;
        return failed;
    }
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

    const PaperSizeMM size{label.m_nLabelWidthMM, label.m_nLabelHeightMM};
    PrinterInfo info;
    PaperForm paper;
    if (Refusal refusal = CheckPrinter(m_printers, printer, size, info)) {
        return *refusal;
    }
    if (Refusal refusal = ChoosePaper(m_printers, printer, size, m_allowUnavailablePaper, paper)) {
        return *refusal;
    }
    if (Refusal refusal = CheckClassMembers(m_printers, printer, info, size, m_allowUnavailablePaper)) {
        return *refusal;
    }

    PrintResult result;
    result.pages = serialized ? copies : 1;
    result.deviceCopies = serialized ? 1 : copies;
    StoreDefaults(m_printers, printer, paper, size, result.deviceCopies);
    // From now on millimetres become dots at the printer's resolution, on screen as well.
    label.m_nDpiX = info.dpiX;
    label.m_nDpiY = info.dpiY;
    JobOptions options = MakeJobOptions(paper, result.deviceCopies);

    QTemporaryFile document(QDir::tempPath() + QStringLiteral("/etiqo-job-XXXXXX"));
    if (!document.open()) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintDocumentNotWritten));
    }
    document.close();  // written by name below; the object still removes it at the end
    const std::optional<CupsRasterDocument> raster = ChooseRoute(printer, options, label, info);
    JobPages pages(label, m_painter, m_checker, m_drawn);
    if (!WriteDocument(document.fileName(), raster, paper, info, result.pages, result.deviceCopies, pages)) {
        return Failure(PrintResult::Status::RenderFailed, Tr(TextId::PrintDocumentNotWritten));
    }
    result.serialsMoved = pages.SerialsMoved();

    if (!pages.Failing().empty() && !(m_approve && m_approve(pages.Failing()))) {
        pages.PutContentsBack();
        PrintResult refused = Failure(PrintResult::Status::CheckRefused, Tr(TextId::CheckNotSent));
        refused.serialsMoved = result.serialsMoved;
        return refused;
    }
    return Queue(m_spooler, printer, document.fileName().toStdString(), options, result);
}

}  // namespace etiqo
