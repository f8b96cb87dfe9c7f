#include "dialogs/PropertyDialogs.h"

#include <QFontDialog>

#include "dialogs/BarcodeDlg.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/Code2DDlg.h"
#include "dialogs/ContentText.h"
#include "dialogs/FontConversion.h"
#include "dialogs/NewLabelDlg.h"
#include "dialogs/PictureSizeDlg.h"
#include "dialogs/ShapeDlg.h"
#include "dialogs/TextDlg.h"
#include "render/SymbolGeometry.h"

namespace etiqo {

bool PropertyDialogs::EditText(QWidget* parent, Element& element) {
    CTextDlg dlg(&element, ContentText(element), parent);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    // The box never holds more than str takes, so this store cannot be refused.
    StoreContent(element, dlg.m_strContent);
    return true;
}

bool PropertyDialogs::EditBarcode(QWidget* parent, Element& element, int dpiX, int dpiY) {
    CBarcodeDlg::Values values;
    values.nShowText = element.bShowText;
    values.nHeight = MmFromDots(element.nHeight, dpiY);
    values.nWidth = MmFromDots(element.nWidth, dpiX);
    values.nSymbology = element.nSymbology;
    values.strContent = ContentText(element);
    CBarcodeDlg dlg(&element, values, parent);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    // Millimetres round both ways, so an unchanged size may still move by a few dots.
    element.nWidth = DotsFromMm(dlg.m_values.nWidth, dpiX);
    element.nHeight = DotsFromMm(dlg.m_values.nHeight, dpiY);
    StoreContent(element, dlg.m_values.strContent);
    element.bShowText = dlg.m_values.nShowText;
    element.nSymbology = dlg.m_values.nSymbology;
    if (dlg.m_values.bFitToDots) {
        // Millimetres cannot say it: the width in dots at which every module is whole dots.
        element.nWidth = WholeDotWidth(element).value_or(element.nWidth);
    }
    return true;
}

bool PropertyDialogs::Edit2DCode(QWidget* parent, Element& element, int dpiX) {
    C2DCodeDlg::Values values;
    values.strContent = ContentText(element);
    values.nSymbology = element.nSymbology;
    values.nSize = MmFromDots(element.nWidth, dpiX);
    C2DCodeDlg dlg(values, parent);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    // The one size is the width; nHeight stays (PDF417 prints width × height, the others square).
    element.nWidth = DotsFromMm(dlg.m_values.nSize, dpiX);
    StoreContent(element, dlg.m_values.strContent);
    element.nSymbology = dlg.m_values.nSymbology;
    return true;
}

bool PropertyDialogs::EditPictureSize(QWidget* parent, Element& element, int dpiX, int dpiY) {
    CPictureSizeDlg dlg(&element, dpiX, dpiY, parent);
    return dlg.exec() == QDialog::Accepted;
}

bool PropertyDialogs::EditShape(QWidget* parent, Element& element) {
    CShapeDlg dlg(&element, element.nShapeType, parent);
    return dlg.exec() == QDialog::Accepted;
}

bool PropertyDialogs::EditFont(QWidget* parent, LOGFONTA& font) {
    QFontDialog dlg(FontFromLogFont(font), parent);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    ApplyFontChoice(dlg.selectedFont(), font);
    return true;
}

std::optional<PixelSize> PropertyDialogs::AskNewLabelSize(QWidget* parent) {
    CNewLabelDlg dlg(parent);
    if (dlg.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PixelSize{dlg.m_nWidth, dlg.m_nHeight};
}

std::vector<std::string> PropertyDialogs::ChooseBatchFiles(QWidget* parent) {
    CBatchPrintDlg dlg(parent);
    std::vector<std::string> files;
    if (dlg.exec() == QDialog::Accepted) {
        for (const QString& path : dlg.m_arrFiles) {
            files.push_back(path.toStdString());
        }
    }
    return files;
}

}  // namespace etiqo
