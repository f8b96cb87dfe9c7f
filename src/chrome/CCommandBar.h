#pragma once
// The top button row: file, print, rotation, zoom, placement, alignment, drawing order and spacing.
// Buttons only send their command number (130 + index) to the main frame.
#include "chrome/CButtonBar.h"

namespace etiqo {

class CCommandBar : public CButtonBar {
    Q_OBJECT
public:
    static constexpr int kFirstCommand = 130;

    explicit CCommandBar(QWidget* parent = nullptr);
};

}  // namespace etiqo
