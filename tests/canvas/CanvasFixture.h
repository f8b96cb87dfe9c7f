#pragma once
// A canvas in a frame-sized window, driven with real mouse and key events, with fake dialogs
// and undo snapshots in a private folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CanvasTestElements.h"
#include "TempDir.h"
#include "canvas/ElementDialogs.h"
#include "canvas/LabelCanvas.h"

namespace etiqo::test {

// Records every call; each Edit answers `accept` after running `edit` on the element.
class FakeDialogs : public ElementDialogs {
public:
    bool accept = true;
    std::function<void(Element&)> edit;
    std::vector<std::string> calls;

    bool EditText(QWidget*, Element& e) override { return Answer("text", e); }
    bool EditBarcode(QWidget*, Element& e, int, int) override { return Answer("barcode", e); }
    bool Edit2DCode(QWidget*, Element& e, int) override { return Answer("2d", e); }
    bool EditPictureSize(QWidget*, Element& e, int, int) override { return Answer("picture", e); }
    bool EditShape(QWidget*, Element& e) override { return Answer("shape", e); }
    bool EditFont(QWidget*, LOGFONTA& font) override {
        calls.push_back("font");
        if (accept) {
            font.lfWeight = 700;
        }
        return accept;
    }
    std::optional<PixelSize> AskNewLabelSize(QWidget*) override { return std::nullopt; }
    std::vector<std::string> ChooseBatchFiles(QWidget*) override { return {}; }

private:
    bool Answer(const char* what, Element& e) {
        calls.push_back(what);
        if (accept && edit) {
            edit(e);
        }
        return accept;
    }
};

class CanvasTest : public ::testing::Test {
protected:
    // A 50 × 30 mm label at 254 dpi is 500.5 × 300.5 dots; in a frame of 1100 × 700 it is shown
    // at two pixels per dot exactly (1001 × 601), which keeps the expectations readable.
    void SetUp() override {
        m_frame.resize(1100, 700);
        canvas = new CLabelCanvas(SnapshotStore(m_temp.Path()), nullptr);
        canvas->GetLabel().m_nDpiX = 254;
        canvas->GetLabel().m_nDpiY = 254;
        canvas->Create(&m_frame, 50, 30);
        canvas->SetDialogs(&dialogs);
        canvas->SetMessageSink([this](const QString& m) { messages.push_back(m.toStdString()); });
        m_frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
        ASSERT_EQ(canvas->Scale().x, 2.0);
        ASSERT_EQ(canvas->Scale().y, 2.0);
    }

    ElementList& Elements() { return canvas->GetLabel().m_elements; }
    int Snapshots() const { return canvas->GetLabel().m_nUndoCount; }

    Element& Put(const Element& e) {
        Element& added = Add(Elements(), e);
        Paint();
        return added;
    }

    // Paints now, so grips and measured sizes are up to date as after a real repaint.
    void Paint() {
        canvas->repaint();
        QApplication::processEvents();
    }

    void Press(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(canvas, button, modifiers, p);
        Paint();
    }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(canvas, button, Qt::NoModifier, p);
        Paint();
    }
    void Click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Press(p, modifiers);
        Release(p);
    }
    // A move with the buttons given as held (QTest's own move carries no button state).
    void Move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(canvas->mapToGlobal(p)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        Paint();
    }
    void Drag(QPoint from, QPoint to, int steps = 1) {
        Move(from);
        Press(from);
        for (int i = 1; i <= steps; ++i) {
            Move(from + (to - from) * i / steps, Qt::LeftButton);
        }
        Release(to);
    }

    // A picture element showing a real file, so it is drawn with its grips.
    Element Picture(int x, int y, int w, int h, bool selected = false) {
        const auto file = m_temp / "picture.png";
        if (!std::filesystem::exists(file)) {
            QImage image(20, 10, QImage::Format_RGB32);
            image.fill(Qt::darkGray);
            image.save(QString::fromStdString(file.string()));
        }
        Element e = Box(ElementKind::Picture, x, y, w, h, selected);
        std::snprintf(e.str, sizeof e.str, "%s", file.string().c_str());
        return e;
    }

    // The point a pointer must hover over to catch grip g as it was painted.
    static QPoint GripPoint(const Element& e, int g) { return {e.ptGrip[g].x + 2, e.ptGrip[g].y + 2}; }

    QWidget m_frame;
    testing::TempDir m_temp;
    CLabelCanvas* canvas = nullptr;  // owned by the frame
    FakeDialogs dialogs;
    std::vector<std::string> messages;
};

}  // namespace etiqo::test
