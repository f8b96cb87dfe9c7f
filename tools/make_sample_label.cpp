// Writes the sample label the repository ships (samples/sample.lab), one element of each common
// kind: make_sample_label OUTPUT.lab
#include <cstdio>

#include "model/ElementFactory.h"
#include "model/LabelFile.h"

namespace {

void FillSampleLabel(etiqo::Label& label) {
    using namespace etiqo;
    label.SetLabelSize(60, 40);  // 480 × 320 dots at 203 dpi
    label.m_strPrinterName.clear();

    // Texts carry a measured box, as they would after their first paint.
    Element title = MakeTextElement(24, 20, "Etiqo sample label");
    title.nWidth = title.nOrgWidth = 288;
    title.nHeight = title.nOrgHeight = 32;
    label.Append(title);

    Element chinese = MakeTextElement(24, 60, "中文标签：品名");
    chinese.nWidth = chinese.nOrgWidth = 224;
    chinese.nHeight = chinese.nOrgHeight = 32;
    label.Append(chinese);

    Element barcode = MakeBarcodeElement(24, 110, "ETQ-000123");
    barcode.nSerialMode = kSerialIncrement;
    barcode.nSerialStep = 1;
    barcode.nSerialResetAt = 99999;
    barcode.nSerialResetTo = 1;
    label.Append(barcode);

    label.Append(Make2DElement(350, 24, "https://example.com/etiqo"));

    // A line's end point is kept in display pixels; one pixel per dot here.
    Element line = MakeLineElement(24, 230, DisplayScale{1.0, 1.0});
    line.nEndX = line.nOrgEndX = 456;
    line.nEndY = line.nOrgEndY = 230;
    line.nSize = kNoGrip;
    label.Append(line);

    Element frame = MakeShapeElement(8, 8);
    frame.nWidth = frame.nOrgWidth = 464;
    frame.nHeight = frame.nOrgHeight = 304;
    frame.nSize = kNoGrip;
    label.Append(frame);

    for (const ElementPtr& element : label.m_elements) {
        element->bSelected = 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_sample_label OUTPUT.lab\n", stderr);
        return 2;
    }
    etiqo::Label label(etiqo::SnapshotStore(std::filesystem::temp_directory_path()));
    FillSampleLabel(label);
    const auto status = etiqo::SaveLabelFile(label, argv[1]);
    if (!status) {
        std::fprintf(stderr, "%s\n", status.error.c_str());
        return 1;
    }
    return 0;
}
