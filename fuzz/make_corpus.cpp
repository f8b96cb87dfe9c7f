// Writes the seed corpus: real labels of every kind made with the model's own factories, so the
// fuzzers start from files the designer would save. Run: make_corpus <fuzz/corpus folder>.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/LabelFile.h"
#include "model/RecordIo.h"
#include "model/SnapshotStore.h"

namespace fs = std::filesystem;
using namespace etiqo;

namespace {

void WriteBytes(const fs::path& file, std::span<const std::byte> bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const fs::path& file, const std::string& text) {
    WriteBytes(file, std::as_bytes(std::span(text.data(), text.size())));
}

std::vector<std::byte> LabelOf(const std::vector<Element>& elements, int widthMM = 50, int heightMM = 30) {
    Label label(SnapshotStore(fs::temp_directory_path() / "etiqo-corpus"));
    label.SetLabelSize(widthMM, heightMM);
    for (const Element& e : elements) {
        label.Append(e);
    }
    return LabelFileBytes(label);
}

Element Sized(Element e, int width, int height) {
    e.nWidth = e.nOrgWidth = width;
    e.nHeight = e.nOrgHeight = height;
    e.bSelected = 0;
    return e;
}

Element Turned(Element e, int escapement) {
    e.nEscapement = escapement;
    return e;
}

Element WithSerial(Element e, int mode, int step) {
    e.nSerialMode = mode;
    e.nSerialStep = step;
    return e;
}

Element Symbology(Element e, int symbology) {
    e.nSymbology = symbology;
    return e;
}

Element Shape(int type, int corner) {
    Element e = Sized(MakeShapeElement(20, 20), 120, 80);
    e.nShapeType = type;
    e.nCornerSize = corner;
    e.nPenWidth = 3;
    e.nSize = kNoGrip;
    return e;
}

Element Line(int x, int y, int endX, int endY) {
    Element e = MakeLineElement(x, y, DisplayScale{1.0, 1.0});
    e.nEndX = e.nOrgEndX = endX;
    e.nEndY = e.nOrgEndY = endY;
    e.nPenWidth = 2;
    e.nSize = kNoGrip;
    e.bSelected = 0;
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus <corpus folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    const Element text = Sized(MakeTextElement(10, 10, "Etiqo 标签 No. 0001"), 0, 0);
    const Element barcode = Sized(MakeBarcodeElement(10, 60, "ABC-12345"), 240, 80);
    const Element ean =
        Symbology(Sized(MakeBarcodeElement(10, 60, "590123412345"), 220, 90), kSymbologyOwnEan13);
    const Element qr = Sized(Make2DElement(200, 10, "https://example.org/item/42"), 100, 100);
    const Element pdf417 =
        Symbology(Sized(Make2DElement(200, 10, "PDF417 etiqo"), 160, 60), kSymbologyPdf417);
    const Element picture = Sized(*MakePictureElement(10, 10, "/nonexistent/logo.png", 100, 50), 100, 50);

    const std::vector<std::pair<std::string, std::vector<Element>>> labels = {
        {"text", {text}},
        {"text-turned", {Turned(text, 900), Turned(text, 1800), Turned(text, 2700)}},
        {"text-serial", {WithSerial(text, kSerialIncrement, 1), WithSerial(text, kSerialDecrement, 5)}},
        {"barcode", {barcode, Turned(barcode, 900)}},
        {"barcode-serial", {WithSerial(barcode, kSerialIncrement, 1)}},
        {"ean13", {ean, Turned(ean, 2700)}},
        {"qrcode", {qr, Turned(qr, 900)}},
        {"pdf417", {pdf417}},
        {"picture", {picture}},
        {"lines", {Line(5, 5, 300, 5), Line(5, 5, 5, 200), Line(5, 5, 300, 200)}},
        {"shapes",
         {Shape(kShapeRectangle, 0), Shape(kShapeRoundedRectangle, 20), Shape(kShapeEllipse, 0),
          Shape(kShapeTriangle, 0), Shape(kShapeDiamond, 0), Turned(Shape(kShapeTriangle, 0), 900)}},
        {"everything", {text, barcode, ean, qr, picture, Line(5, 5, 300, 200), Shape(kShapeEllipse, 0)}},
    };
    for (const auto& [name, elements] : labels) {
        const std::vector<std::byte> bytes = LabelOf(elements);
        WriteBytes(root / "label_file_fuzz" / (name + ".lab"), bytes);
        WriteBytes(root / "label_render_fuzz" / (name + ".lab"), bytes);
        // The snapshot files hold the records alone.
        WriteBytes(root / "undo_file_fuzz" / (name + ".undo"), std::span(bytes).subspan(kCurrentHeaderBytes));
    }
    // The older layout: the size text without the printer name block.
    const std::vector<std::byte> current = LabelOf({text, barcode}, 100, 150);
    std::vector<std::byte> older(current.begin(), current.begin() + kSizeBlockBytes);
    older.insert(older.end(), current.begin() + kCurrentHeaderBytes, current.end());
    WriteBytes(root / "label_file_fuzz" / "older-layout.lab", older);
    WriteBytes(root / "label_render_fuzz" / "older-layout.lab", older);

    const std::vector<std::pair<std::string, Element>> serials = {
        {"text-up", WithSerial(text, kSerialIncrement, 1)},
        {"text-down", WithSerial(text, kSerialDecrement, 3)},
        {"barcode-up", WithSerial(barcode, kSerialIncrement, 7)},
        {"ean13-up", WithSerial(ean, kSerialIncrement, 1)},
    };
    for (const auto& [name, element] : serials) {
        WriteBytes(root / "serial_fuzz" / (name + ".rec"), std::as_bytes(std::span(&element, 1)));
    }
    WriteText(root / "ean13_fuzz" / "twelve", "590123412345");
    WriteText(root / "ean13_fuzz" / "thirteen", "5901234123457");
    WriteText(root / "ean13_fuzz" / "short", "1234567");
    return 0;
}
