// Renders the canvas with one selected element of every kind (grips showing) to a PNG file:
//   canvas_screenshot OUT.png
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "canvas/LabelCanvas.h"
#include "model/ElementFactory.h"

namespace {

using namespace etiqo;

Element Sized(Element e, int w, int h) {
    e.nWidth = e.nOrgWidth = w;
    e.nHeight = e.nOrgHeight = h;
    e.nSize = kNoGrip;
    return e;
}

Element Shape(int x, int y, int type) {
    Element e = Sized(MakeShapeElement(x, y), 70, 50);
    e.nShapeType = type;
    e.nCornerSize = 16;
    e.nEndX = -1;  // a triangle's apex in the middle
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: canvas_screenshot OUT.png\n");
        return 2;
    }
    QTemporaryDir temp;
    QWidget frame;
    frame.resize(1300, 900);
    auto* canvas = new CLabelCanvas(SnapshotStore(temp.path().toStdString()), nullptr);
    canvas->Create(&frame, 100, 60);

    // A small picture file for the picture element.
    const QString picturePath = temp.filePath("logo.png");
    QImage logo(60, 40, QImage::Format_RGB32);
    logo.fill(Qt::white);
    {
        QPainter p(&logo);
        p.setBrush(Qt::black);
        p.drawEllipse(5, 5, 30, 30);
        p.fillRect(38, 8, 18, 24, Qt::darkGray);
    }
    logo.save(picturePath);

    Label& label = canvas->GetLabel();
    label.Append(Sized(MakeTextElement(30, 30, "Etiqo 标签 Lot 4711"), 0, 0));
    Element turned = MakeTextElement(640, 260, "Best before 2027");
    turned.nEscapement = 900;
    label.Append(Sized(turned, 160, 24));
    label.Append(MakeBarcodeElement(30, 110, "0123456789"));
    label.Append(Make2DElement(400, 100, "https://etiqo.example/p/4711"));
    Element pdf = Sized(Make2DElement(540, 100, "PDF417 data"), 120, 60);
    pdf.nSymbology = kSymbologyPdf417;
    label.Append(pdf);
    label.Append(*MakePictureElement(30, 290, picturePath.toStdString(), logo.width(), logo.height()));
    Element line = MakeLineElement(170, 300, canvas->Scale());
    line.nEndX = line.nOrgEndX = line.nEndX + 200;
    line.nEndY = line.nOrgEndY = line.nEndY + 60;
    line.nSize = kNoGrip;
    label.Append(line);
    for (int type = 0; type < 5; ++type) {
        label.Append(Shape(170 + type * 100, 400, type));
    }
    Element turnedBarcode = MakeBarcodeElement(430, 270, "4711");
    turnedBarcode.nEscapement = 2700;
    label.Append(Sized(turnedBarcode, 160, 60));

    frame.show();
    canvas->repaint();  // the first paint measures the texts and encodes the symbols
    const QImage shot = canvas->grab().toImage();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d x %d, %zu elements\n", argv[1], shot.width(), shot.height(), label.m_elements.size());
    return 0;
}
