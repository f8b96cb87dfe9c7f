#pragma once
// The second button row: the seven tools, undo, redo and delete, the font name and size lists, and the
// text style buttons. Buttons only send their command number (100 + slot) to the main frame.
#include <QStringList>

#include "chrome/CButtonBar.h"

class QComboBox;

namespace etiqo {

class CToolPalette : public CButtonBar {
    Q_OBJECT
public:
    static constexpr int kFirstCommand = 100;     // slot 0; slot 10 has no button
    static constexpr int kDefaultSizeIndex = 12;  // "20"

    explicit CToolPalette(QWidget* parent = nullptr);

    QComboBox* FontNameList() const { return m_pFontNames; }
    QComboBox* FontSizeList() const { return m_pFontSizes; }

    // The family preselected in the name list: 宋体 where installed, else the CJK family that stands in
    // for it when labels are drawn.
    static QString PreferredFamily(const QStringList& families);

signals:
    // The user chose a font in either list while both have a selection.
    void fontChosen(const QString& face, int nSize);

private:
    void OnFontListChosen();

    QComboBox* m_pFontNames;  // control id 101
    QComboBox* m_pFontSizes;  // control id 102
};

}  // namespace etiqo
