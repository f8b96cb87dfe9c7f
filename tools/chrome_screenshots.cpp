// Renders the chrome as the main window lays it out, in both languages, with a button under the pointer,
// a pressed one and a tooltip, for a person to look at: chrome_screenshots OUT_DIR
// (OUT_DIR/chrome-en.png and OUT_DIR/chrome-zh.png).
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>

#include "chrome/CCommandBar.h"
#include "chrome/CRulerWnd.h"
#include "chrome/CToolPalette.h"

namespace etiqo {

QImage Compose(bool chinese) {
    SetChineseInterface(chinese);
    QWidget frame;
    frame.resize(1200, 640);
    frame.setAutoFillBackground(true);
    QPalette colours = frame.palette();
    colours.setColor(QPalette::Window, QColor(0, 128, 128));  // the view's backdrop
    frame.setPalette(colours);

    CCommandBar bar(&frame);
    bar.setGeometry(0, 0, 1200, 42);
    CToolPalette palette(&frame);
    palette.setGeometry(0, 42, 1200, 42);
    CRulerWnd ruler(&frame);
    ruler.ResizeRuler(1200, 640);
    // A 50 x 80 mm label shown 320 x 512, centred in the view below the rulers.
    QWidget canvas(&frame);
    canvas.setAutoFillBackground(true);
    canvas.setPalette(QPalette(Qt::white));
    const int left = (1176 - 320) / 2;
    canvas.setGeometry(24 + left, 108, 320, 512);
    ruler.SetLabelMetrics(50, 80, 320, 512);
    ruler.SetCanvasPos(left, 0);
    frame.show();
    (void)QTest::qWaitForWindowExposed(&frame);

    // Pointer over "Zoom In" on the bar; "Text" held down on the palette.
    const QPoint zoomIn(43 * 7 + 32 + 20, 20);
    QTest::mouseMove(&bar, zoomIn);
    const QPoint text(43 + 20, 20);
    QTest::mouseMove(&palette, text);
    QTest::mousePress(&palette, Qt::LeftButton, {}, text);
    QTest::mouseMove(&bar, zoomIn);  // the press above moved the pointer off the bar

    QImage shot = frame.grab().toImage();
    QHelpEvent help(QEvent::ToolTip, zoomIn, bar.mapToGlobal(zoomIn));
    QApplication::sendEvent(&bar, &help);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            QPainter painter(&shot);
            painter.drawImage(zoomIn + QPoint(2, 22), top->grab().toImage());
        }
    }
    QToolTip::hideText();
    QTest::mouseRelease(&palette, Qt::LeftButton, {}, QPoint(text.x(), 80));
    SetChineseInterface(false);
    return shot;
}

}  // namespace etiqo

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chrome_screenshots OUT_DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    for (const bool chinese : {false, true}) {
        const QString file = dir + (chinese ? "/chrome-zh.png" : "/chrome-en.png");
        if (!etiqo::Compose(chinese).save(file)) {
            std::fprintf(stderr, "chrome_screenshots: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
