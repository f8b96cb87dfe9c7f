#include "chrome/CToolPalette.h"

#include <QComboBox>
#include <QFontDatabase>

#include <array>

#include "res/Resources.h"

namespace etiqo {

namespace {

constexpr std::array kToolTips = {
    TextId::TipSelection, TextId::TipText,      TextId::TipQrCode, TextId::TipBarCode, TextId::TipPicture,
    TextId::TipLine,      TextId::TipRectangle, TextId::TipUndo,   TextId::TipRedo,    TextId::TipDelete};
constexpr std::array kStyleTips = {TextId::TipBold,     TextId::TipItalic,     TextId::TipUnderline,
                                   TextId::TipTextLeft, TextId::TipTextCenter, TextId::TipTextRight};
constexpr std::array kFontSizes = {4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

QFont ListFont() {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(13);
    font.setWeight(QFont::DemiBold);
    return font;
}

}  // namespace

CToolPalette::CToolPalette(QWidget* parent)
    : CButtonBar(parent), m_pFontNames(new QComboBox(this)), m_pFontSizes(new QComboBox(this)) {
    std::vector<Button> buttons;
    // Tools, then undo, redo and delete after a gap of 16.
    for (int i = 0; i < static_cast<int>(kToolTips.size()); ++i) {
        const int x = (i < 7 ? 0 : 16) + 43 * i;
        buttons.push_back({kFirstCommand + i, kToolTips[i], 0, QRect(x + 1, 2, 43, 38),
                           QRect(x + 1, 0, 43, 42), QRect(x + 5, 0, 35, 42), QPoint(x + 5, 2),
                           QRect(35 * i, 0, 35, 42)});
    }
    // Text style (slots 11 to 16), to the right of the font lists.
    for (int k = 0; k < static_cast<int>(kStyleTips.size()); ++k) {
        const QRect area(785 + 32 * k, 0, 32, 32);
        buttons.push_back({kFirstCommand + 11 + k, kStyleTips[k], 1, QRect(781 + 32 * k, 2, 32, 38), area,
                           area, QPoint(782 + 32 * k, 5), QRect(30 * k, 0, 30, 30)});
    }
    SetButtons(std::move(buttons), {LoadStrip(kStripTools), LoadStrip(kStripTextStyle)}, {309, 454}, true);

    const QFont font = ListFont();
    for (QComboBox* list : {m_pFontNames, m_pFontSizes}) {
        list->setFont(font);
        list->setMaxVisibleItems(20);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    m_pFontNames->setGeometry(470, 10, 150, m_pFontNames->sizeHint().height());
    m_pFontSizes->setGeometry(625, 10, 150, m_pFontSizes->sizeHint().height());

    for (const int size : kFontSizes) {
        m_pFontSizes->addItem(QString::number(size));
    }
    m_pFontSizes->setCurrentIndex(kDefaultSizeIndex);

    const QStringList families = QFontDatabase::families();
    m_pFontNames->addItems(families);
    m_pFontNames->setCurrentIndex(static_cast<int>(families.indexOf(PreferredFamily(families))));

    // Only a choice of the user's sends the font; the preselection above does not.
    connect(m_pFontNames, &QComboBox::activated, this, &CToolPalette::OnFontListChosen);
    connect(m_pFontSizes, &QComboBox::activated, this, &CToolPalette::OnFontListChosen);
}

QString CToolPalette::PreferredFamily(const QStringList& families) {
    for (const QString& name :
         {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei")}) {
        if (families.contains(name)) {
            return name;
        }
    }
    for (const QString& name : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
        if (families.contains(name)) {
            return name;
        }
    }
    return families.value(0);
}

void CToolPalette::OnFontListChosen() {
    if (m_pFontNames->currentIndex() < 0 || m_pFontSizes->currentIndex() < 0) {
        return;
    }
    emit fontChosen(m_pFontNames->currentText(), m_pFontSizes->currentText().toInt());
}

}  // namespace etiqo
