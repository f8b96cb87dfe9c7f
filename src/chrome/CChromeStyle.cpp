#include "chrome/CChromeStyle.h"

namespace etiqo {

int CChromeStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay) {
        return kToolTipDelayMs;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace etiqo
