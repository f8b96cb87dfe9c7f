#pragma once
// What the tool palette and the command bar share: a row of custom-drawn image buttons that highlight
// under the pointer, and send their command number only for a press and a release on the same button.
#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

#include "res/Texts.h"

namespace etiqo {

class CButtonBar : public QWidget {
    Q_OBJECT
public:
    // Button states.
    static constexpr int kNormal = 0;
    static constexpr int kHover = 1;
    static constexpr int kPressed = 2;

    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    int Command(int button) const { return m_buttons.at(button).nCommand; }
    int State(int button) const { return m_nState.at(button); }
    // The area where a press and the release that follows send the command.
    QRect PressArea(int button) const { return m_buttons.at(button).rcPress; }
    // The button under a point (hover areas), −1 for none.
    int ButtonAt(QPoint point) const;
    // The tooltip at a point in the interface language, empty where no button is.
    QString ToolTipAt(QPoint point) const;
    // A button's name in the interface language; its tooltip adds the key, if it has one.
    QString ButtonName(int button) const;
    QString ButtonToolTip(int button) const;
    // The key that chooses the button's command elsewhere (the canvas's tool keys), shown in its tooltip.
    void SetShortcutKey(int nCommand, const QString& key);
    // Sends the button's command as a click would (screen readers press buttons this way).
    void Trigger(int button);

signals:
    // A command number for the main frame (palette 100 to 116, command bar 130 to 155). Connect it queued:
    // the command may open a dialog, which should not run inside the mouse handler.
    void commandPosted(int nCommand);

protected:
    struct Button {
        int nCommand;
        TextId tip;
        int nStrip;     // index into the bar's strips
        QRect rcDrawn;  // highlight; its height follows the window's
        QRect rcHover;
        QRect rcPress;
        QPoint ptImage;
        QRect rcSource;  // cell of the strip
    };

    explicit CButtonBar(QWidget* parent);
    // Set once by the derived bar's constructor.
    void SetButtons(std::vector<Button> buttons, std::vector<QImage> strips, std::vector<int> separators,
                    bool bTopLine);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void TrackPointer(QPoint point);
    void SetState(int button, int state);
    QRect DrawnArea(const Button& button) const;

    std::vector<Button> m_buttons;
    std::vector<int> m_nState;
    std::vector<QString> m_keys;
    std::vector<QImage> m_strips;
    std::vector<int> m_nSeparators;
    bool m_bTopLine = false;
    bool m_bTracking = false;  // the pointer is inside; cleared when it leaves
};

}  // namespace etiqo
