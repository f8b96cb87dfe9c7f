#pragma once
// The About box (Help > About Etiqo).

class QWidget;

namespace etiqo {

void ShowAboutBox(QWidget* parent);

}  // namespace etiqo
