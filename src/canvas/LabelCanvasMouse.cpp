// CLabelCanvas: the mouse, the element creators and the double click.
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QMouseEvent>

#include "canvas/ElementDialogs.h"
#include "canvas/HitTest.h"
#include "canvas/LabelCanvas.h"
#include "canvas/MouseDrag.h"
#include "canvas/Selection.h"
#include "canvas/ToolKeys.h"
#include "model/ElementFactory.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {
namespace {

constexpr char kDefaultSymbolData[] = "0123456789";

PixelPoint ToPixel(QPoint p) {
    return {p.x(), p.y()};
}

QString DefaultPictureChooser(QWidget* parent) {
    const QString filter = UiText(TextId::PictureFilesFilter) + ";;" + UiText(TextId::AllPictureFilesFilter);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr, QFileDialog::ReadOnly);
}

// The pixel size of a picture file, or an empty size when it cannot be read as an image.
QSize PictureSize(const QString& path) {
    QSize size = QImageReader(path).size();
    if (!size.isValid()) {
        size = QImageReader(path).read().size();  // formats that only tell their size by decoding
    }
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}

}  // namespace

void CLabelCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(point, (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0);
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(point);
    }
}

void CLabelCanvas::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event->position().toPoint(), (event->buttons() & Qt::LeftButton) != 0);
}

void CLabelCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint());
    }
}

void CLabelCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is only a double click, never another press.
    if (event->button() == Qt::LeftButton) {
        OnLButtonDblClk(event->position().toPoint());
    }
}

void CLabelCanvas::OnLButtonDown(QPoint point, bool extend) {
    ApplyToolCursor();
    m_MouseDownPoint = point;
    switch (m_nTool) {
        case kToolText:
            CreateTextElement(UiText(TextId::NewTextContent), point);
            SaveSnapshot();
            break;
        case kTool2DCode:
            Create2DElement(QString::fromLatin1(kDefaultSymbolData), point);
            SaveSnapshot();
            break;
        case kToolBarcode:
            CreateBarcodeElement(QString::fromLatin1(kDefaultSymbolData), point);
            SaveSnapshot();
            break;
        case kToolPicture:
            CreatePictureElement(point);
            SaveSnapshot();  // also when no file was chosen
            // The file dialog took the release that ends this press: the tool ends here instead, or
            // every later click would ask for a picture again.
            m_nTool = kToolSelect;
            ApplyCursor(EditCursor::Arrow);
            break;
        case kToolLine:
            CreateLineElement(point);
            SaveSnapshot();
            break;
        case kToolRectangle:
            CreateShapeElement(point);
            SaveSnapshot();
            break;
        case kToolSelect: {
            CommitPlacement(m_label.m_elements);
            const bool caught = PressCatchesElement(m_label.m_elements, Scale(), ToPixel(point));
            ApplyCursor(SelectAtPress(m_label.m_elements, Scale(), ToPixel(point), extend));
            if (!caught) {
                // A press on empty canvas (which cleared the selection unless extending) starts a band.
                m_band = QRect(point, point);
                m_bandBase.clear();
                for (const ElementPtr& e : m_label.m_elements) {
                    m_bandBase.push_back(static_cast<char>(e->bSelected != 0));
                }
            }
            break;
        }
        default:
            SaveSnapshot();
            break;
    }
    update();
}

void CLabelCanvas::OnMouseMove(QPoint point, bool leftDown) {
    if (m_band && leftDown) {
        m_band->setBottomRight(point);
        SelectInBand(m_label.m_elements, Scale(), ToPixel(m_band->topLeft()), ToPixel(point), m_bandBase);
        update();
        return;
    }
    ApplyToolCursor();
    const MoveOutcome out =
        MouseMove(m_label.m_elements, Scale(), ToPixel(point), leftDown, ToPixel(m_MouseDownPoint), m_nTool);
    ApplyCursor(out.cursor);
    if (out.snapshot) {
        SaveSnapshot();
    }
    if (out.repaint) {
        update();
    }
}

void CLabelCanvas::OnLButtonUp(QPoint point) {
    m_band.reset();
    if (CommitRelease(m_label.m_elements, Scale(), ToPixel(point), m_nTool)) {
        SaveSnapshot();
    }
    update();
    ApplyCursor(EditCursor::Arrow);
    m_nTool = kToolSelect;  // a creating tool lasts for one press
}

void CLabelCanvas::OnLButtonDblClk(QPoint point) {
    if (m_pDialogs == nullptr) {
        return;
    }
    const DisplayScale scale = Scale();
    const int dpiX = m_label.m_nDpiX;
    const int dpiY = m_label.m_nDpiY;
    // Every selected element under the point, in list order; the list does not change meanwhile.
    for (std::size_t i = 0; i < m_label.m_elements.size(); ++i) {
        Element& e = *m_label.m_elements[i];
        if (!e.bSelected || !BoxHolds(e.nKind, DisplayBox(e, scale), ToPixel(point))) {
            continue;
        }
        bool snapshot = false;
        switch (e.nKind) {
            case ElementKind::Text:
                snapshot = m_pDialogs->EditText(this, e);
                break;
            case ElementKind::Picture:
                snapshot = m_pDialogs->EditPictureSize(this, e, dpiX, dpiY);
                break;
            case ElementKind::Barcode:
                snapshot = m_pDialogs->EditBarcode(this, e, dpiX, dpiY);
                if (snapshot) {
                    m_symbols.Release(e);  // encoded again from the new content and size
                }
                break;
            case ElementKind::Code2D:
                snapshot = m_pDialogs->Edit2DCode(this, e, dpiX);
                if (snapshot) {
                    m_symbols.Release(e);
                }
                break;
            case ElementKind::Shape:
                if (m_pDialogs->EditShape(this, e)) {
                    update();
                }
                break;
            case ElementKind::Line:
                break;
        }
        if (snapshot) {
            update();
            SaveSnapshot();
        }
    }
}

void CLabelCanvas::Append(const Element& element) {
    m_label.Append(element);
    update();
}

void CLabelCanvas::CreateTextElement(const QString& text, QPoint point) {
    DeselectAll();
    const DisplayScale s = Scale();
    Append(MakeTextElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y), text.toStdString()));
}

void CLabelCanvas::CreateBarcodeElement(const QString& text, QPoint point) {
    DeselectAll();
    const DisplayScale s = Scale();
    Append(
        MakeBarcodeElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y), text.toStdString()));
}

void CLabelCanvas::Create2DElement(const QString& text, QPoint point) {
    DeselectAll();
    const DisplayScale s = Scale();
    Append(Make2DElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y), text.toStdString()));
}

void CLabelCanvas::CreatePictureElement(QPoint point) {
    QWidget* owner = parentWidget() != nullptr ? parentWidget() : this;
    const QString path = m_chooser ? m_chooser(owner) : DefaultPictureChooser(owner);
    if (path.isEmpty()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(path);
    const QSize size = PictureSize(path);
    if (size.isEmpty()) {
        Tell(UiText(TextId::PictureUnreadable).arg(shown));
        return;
    }
    const DisplayScale s = Scale();
    const auto picture = MakePictureElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y),
                                            path.toStdString(), size.width(), size.height());
    if (!picture) {
        Tell(UiText(TextId::PicturePathTooLong).arg(shown));  // a cut path names another file
        return;
    }
    DeselectAll();
    Append(*picture);
}

void CLabelCanvas::CreateLineElement(QPoint point) {
    DeselectAll();
    const DisplayScale s = Scale();
    Append(MakeLineElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y), s));
}

void CLabelCanvas::CreateShapeElement(QPoint point) {
    DeselectAll();
    const DisplayScale s = Scale();
    Append(MakeShapeElement(PixelsToDots(point.x(), s.x), PixelsToDots(point.y(), s.y)));
    ApplyCursor(EditCursor::SizeNWSE);
}

QPoint CLabelCanvas::VisibleCentre() const {
    QRect visible = rect();
    if (const QWidget* view = parentWidget()) {
        visible &= QRect(-pos(), view->size());  // the view hides what lies outside it
    }
    return visible.isEmpty() ? rect().center() : visible.center();
}

void CLabelCanvas::InsertElement(int tool) {
    const QPoint centre = VisibleCentre();
    const std::size_t before = m_label.m_elements.size();
    const DisplayScale s = Scale();
    constexpr int kHalfLineDots = 50;  // a keyboard line: 100 dots, level
    switch (tool) {
        case kToolText:
            CreateTextElement(UiText(TextId::NewTextContent), centre);
            break;
        case kTool2DCode:
            Create2DElement(QString::fromLatin1(kDefaultSymbolData), centre);
            break;
        case kToolBarcode:
            CreateBarcodeElement(QString::fromLatin1(kDefaultSymbolData), centre);
            break;
        case kToolPicture:
            CreatePictureElement(centre);
            break;
        case kToolLine:
            CreateLineElement(centre);
            break;
        case kToolRectangle:
            CreateShapeElement(centre);
            break;
        default:
            SetTool(tool);
            return;
    }
    m_nTool = kToolSelect;
    ApplyCursor(EditCursor::Arrow);
    if (m_label.m_elements.size() == before) {
        return;  // no picture chosen
    }
    Element& e = *m_label.m_elements.back();
    e.nSize = kNoGrip;  // no drag follows to span a line or a shape
    if (e.nKind == ElementKind::Line) {
        e.nPosX = SaturatedInt(std::int64_t{e.nPosX} - kHalfLineDots);
        e.nEndX = SaturatedInt(std::int64_t{e.nEndX} + DotsToPixels(kHalfLineDots, s.x));
    } else {
        if (e.nKind == ElementKind::Shape) {
            e.nWidth = e.nHeight = 100;  // as a click with the rectangle tool makes it
        } else if (e.nWidth == 0 && isVisible()) {
            repaint();  // a new text is measured at its first paint
        }
        e.nPosX = SaturatedInt(std::int64_t{e.nPosX} - e.nWidth / 2);
        e.nPosY = SaturatedInt(std::int64_t{e.nPosY} - e.nHeight / 2);
    }
    CommitPlacement(m_label.m_elements);
    SaveSnapshot();
    update();
}

}  // namespace etiqo
