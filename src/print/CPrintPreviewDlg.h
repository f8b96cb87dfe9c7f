#pragma once
// The print preview: the label as it will print, a printer list with the default selected, the
// printer's own settings, a copy count and Print, which leaves the dialog open for more.

#include <QDialog>

#include <functional>
#include <string>

#include "model/Label.h"
#include "print/LabelPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace etiqo {

class PrinterConfig;
class LabelPreview;

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT

public:
    // What the dialog needs from the canvas that owns the label.
    struct Canvas {
        Label& label;
        LabelPainter painter;  // DrawLabel with the canvas's symbols and display scale
        QSize viewSize;        // m_nViewWidth × m_nViewHeight: the preview keeps its aspect
        std::function<void(const std::string& printer, int copies)> printLabel;  // the canvas's PrintLabel
        std::function<void()> serialsMoved;  // the canvas repaints to show the next number
    };

    CPrintPreviewDlg(Canvas canvas, PrinterConfig& printers, QWidget* parent = nullptr);

    QString SelectedPrinter() const;

private:
    void OnProperties();
    void OnPrint();
    void UpdateButtons();
    // Shades what the selected printer cannot print of the label's paper and shows what it has loaded.
    void UpdateUnprintable();

    Canvas m_canvas;
    PrinterConfig& m_printers;
    QComboBox* m_printerList = nullptr;
    QPushButton* m_propertiesButton = nullptr;
    QLineEdit* m_copiesEdit = nullptr;
    QPushButton* m_printButton = nullptr;
    LabelPreview* m_preview = nullptr;
    QLabel* m_loadedLine = nullptr;  // what the printer says is loaded
};

}  // namespace etiqo
