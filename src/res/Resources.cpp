#include "res/Resources.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QString>

namespace etiqo {

QImage LoadStrip(int id) {
    return LoadStrip(id, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QImage LoadStrip(int id, qreal devicePixelRatio) {
    switch (id) {
        case kStripCommands:
        case kStripTextStyle:
        case kStripTools:
            break;
        default:
            return {};
    }
    if (devicePixelRatio <= 1.0) {
        return QImage(QStringLiteral(":/etiqo/strip%1.png").arg(id));
    }
    QImage strip(QStringLiteral(":/etiqo/strip%1@2x.png").arg(id));
    strip.setDevicePixelRatio(2.0);
    return strip;
}

QCursor LoadCursor(int id) {
    int hot = 0;
    switch (id) {
        case kCursorLine:
            hot = 5;
            break;
        case kCursorText:
        case kCursor2D:
        case kCursorBarcode:
        case kCursorPicture:
            break;
        default:
            return QCursor(Qt::ArrowCursor);
    }
    const QPixmap picture(QStringLiteral(":/etiqo/cursor%1.png").arg(id));
    return picture.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(picture, hot, hot);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/etiqo/etiqo-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace etiqo
