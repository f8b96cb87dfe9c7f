#pragma once
// The application style of the designer: the platform's own, with tooltips that wake after 500 ms as the
// palette's and command bar's buttons want. The frame installs it once with QApplication::setStyle.
#include <QProxyStyle>

namespace etiqo {

class CChromeStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kToolTipDelayMs = 500;

    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace etiqo
