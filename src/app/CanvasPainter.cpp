#include "app/CanvasPainter.h"

#include "canvas/LabelCanvas.h"
#include "print/DrawLabel.h"

namespace etiqo {

LabelPainter CanvasPainter(CLabelCanvas& canvas) {
    return [&canvas](QPainter& painter, Label& label) {
        return DrawLabel(painter, label, canvas.Symbols(), canvas.Scale());
    };
}

}  // namespace etiqo
