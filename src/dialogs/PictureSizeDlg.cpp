#include "dialogs/PictureSizeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "dialogs/DialogParts.h"
#include "model/Geometry.h"

namespace etiqo {
namespace {

QComboBox* UnitList(QWidget* parent, const char* objectName) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->addItem(UiText(TextId::UnitMillimetre));
    list->addItem(UiText(TextId::UnitPixel));
    return list;
}

}  // namespace

CPictureSizeDlg::CPictureSizeDlg(Element* element, int dpiX, int dpiY, QWidget* parent)
    : QDialog(parent),
      m_pElement(element),
      m_nDpiX(dpiX),
      m_nDpiY(dpiY),
      m_widthEdit(NumberEdit(this, "widthEdit")),
      m_heightEdit(NumberEdit(this, "heightEdit")),
      m_widthUnit(UnitList(this, "widthUnitList")),
      m_heightUnit(UnitList(this, "heightUnitList")),
      m_fixedRatio(new QCheckBox(UiText(TextId::PictureDlgFixedRatio), this)) {
    setWindowTitle(UiText(TextId::PictureDlgTitle));
    m_fixedRatio->setObjectName(QStringLiteral("fixedRatioCheck"));

    auto* group = new QGroupBox(UiText(TextId::PictureDlgGroup), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(UiText(TextId::PictureDlgWidth), group), 0, 0);
    grid->addWidget(m_widthEdit, 0, 1);
    grid->addWidget(m_widthUnit, 0, 2);
    grid->addWidget(new QLabel(UiText(TextId::PictureDlgHeight), group), 1, 0);
    grid->addWidget(m_heightEdit, 1, 1);
    grid->addWidget(m_heightUnit, 1, 2);
    grid->addWidget(m_fixedRatio, 2, 0, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(OkCancelButtons(this, TextId::PictureDlgOk));

    ShowElementSize(kUnitMillimetre);
    m_fixedRatio->setChecked(true);

    connect(m_widthEdit, &QLineEdit::textChanged, this, &CPictureSizeDlg::OnWidthChanged);
    connect(m_widthUnit, &QComboBox::currentIndexChanged, this,
            [this](int unit) { OnUnitChanged(m_widthUnit, unit); });
    connect(m_heightUnit, &QComboBox::currentIndexChanged, this,
            [this](int unit) { OnUnitChanged(m_heightUnit, unit); });
    m_widthEdit->setFocus();
    m_widthEdit->selectAll();
}

void CPictureSizeDlg::ShowElementSize(int unit) {
    // The element's own size replaces what was typed; the proportion does not touch it.
    const QSignalBlocker blocker(m_widthEdit);
    if (unit == kUnitMillimetre) {
        m_widthEdit->setText(DecimalText(MmFromDots(m_pElement->nWidth, m_nDpiX)));
        m_heightEdit->setText(DecimalText(MmFromDots(m_pElement->nHeight, m_nDpiY)));
    } else {
        m_widthEdit->setText(DecimalText(m_pElement->nWidth));
        m_heightEdit->setText(DecimalText(m_pElement->nHeight));
    }
}

void CPictureSizeDlg::OnUnitChanged(QComboBox* changed, int unit) {
    QComboBox* other = changed == m_widthUnit ? m_heightUnit : m_widthUnit;
    {
        const QSignalBlocker blocker(other);
        other->setCurrentIndex(unit);
    }
    ShowElementSize(unit);
}

void CPictureSizeDlg::OnWidthChanged() {
    // The ratio is the source picture's, in its own pixels, whatever unit is shown. A picture
    // that reports no width leaves the height alone.
    if (!m_fixedRatio->isChecked() || m_pElement->nImageWidth == 0) {
        return;
    }
    const std::int64_t height = static_cast<std::int64_t>(AtoiText(m_widthEdit->text())) *
                                m_pElement->nImageHeight / m_pElement->nImageWidth;
    const std::int64_t clamped = std::clamp<std::int64_t>(height, std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max());
    m_heightEdit->setText(DecimalText(static_cast<int>(clamped)));
}

void CPictureSizeDlg::accept() {
    const int width = AtoiText(m_widthEdit->text());
    const int height = AtoiText(m_heightEdit->text());
    switch (m_widthUnit->currentIndex()) {
        case kUnitMillimetre:
            m_pElement->nWidth = DotsFromMm(width, m_nDpiX);
            m_pElement->nHeight = DotsFromMm(height, m_nDpiY);
            break;
        case kUnitPixel:
            m_pElement->nWidth = width;
            m_pElement->nHeight = height;
            break;
        default:
            break;  // no unit chosen: nothing changes
    }
    QDialog::accept();
}

}  // namespace etiqo
