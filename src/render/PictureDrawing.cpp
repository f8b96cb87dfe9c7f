// Pictures from files, stretched whole into their box with nearest-neighbour sampling.

#include <QPainter>
#include <QTransform>

#include "render/RenderParts.h"
#include "render/SymbolCache.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

void DrawPictureElement(const RenderContext& context, Element& element, int turn) {
    QPainter& painter = context.painter;
    const QString path = RecordText(ContentBytes(element));
    QString problem;
    QImage image = context.symbols.Picture(path, &problem);
    DeviceBox box = ComputeDeviceBox(context, element);
    if (turn != 0) {
        box = ComputeRotatedBox(context, element, turn).box;
        if (!image.isNull()) {
            image = image.transformed(QTransform().rotate(-turn / 10.0));  // counter-clockwise
        }
    }
    if (image.isNull()) {
        if (context.warn) {
            context.warn(problem.isEmpty() ? UiText(TextId::RenderPictureUndecodable).arg(path).toStdString()
                                           : problem.toStdString());
        }
    } else if (box.width > 0 && box.height > 0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(box.left, box.top, box.width, box.height), image);
    }
    if (WantsGrips(context, element)) {
        DrawGrips(painter, element, box.left, box.top, box.width, box.height, 4, GripMiddle::Half);
    }
}

}  // namespace etiqo
