#include "canvas/CanvasCursors.h"

#include "res/Resources.h"

namespace etiqo {

QCursor CursorFor(EditCursor cursor) {
    switch (cursor) {
        case EditCursor::Arrow:
            return Qt::ArrowCursor;
        case EditCursor::SizeNWSE:
            return Qt::SizeFDiagCursor;
        case EditCursor::SizeNS:
            return Qt::SizeVerCursor;
        case EditCursor::SizeNESW:
            return Qt::SizeBDiagCursor;
        case EditCursor::SizeWE:
            return Qt::SizeHorCursor;
        case EditCursor::Cross:
            return Qt::CrossCursor;
        case EditCursor::ToolText:
            return LoadCursor(kCursorText);
        case EditCursor::Tool2DCode:
            return LoadCursor(kCursor2D);
        case EditCursor::ToolBarcode:
            return LoadCursor(kCursorBarcode);
        case EditCursor::ToolPicture:
            return LoadCursor(kCursorPicture);
        case EditCursor::ToolLine:
            return LoadCursor(kCursorLine);
    }
    return Qt::ArrowCursor;
}

std::optional<EditCursor> ToolCursor(int tool) {
    switch (tool) {
        case kToolSelect:
            return EditCursor::Arrow;
        case kToolText:
            return EditCursor::ToolText;
        case kTool2DCode:
            return EditCursor::Tool2DCode;
        case kToolBarcode:
            return EditCursor::ToolBarcode;
        case kToolPicture:
            return EditCursor::ToolPicture;
        case kToolLine:
            return EditCursor::ToolLine;
        case kToolRectangle:
            return EditCursor::Cross;
        case kToolLineEnd:
            return EditCursor::SizeWE;
        default:
            return std::nullopt;
    }
}

}  // namespace etiqo
