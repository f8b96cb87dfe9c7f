#include "dialogs/ShapeDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/DialogParts.h"

namespace etiqo {
namespace {

// A rounded rectangle chosen for a shape that has no corner size yet gets this one proposed.
constexpr int kProposedCornerSize = 30;

}  // namespace

CShapeDlg::CShapeDlg(Element* element, int shapeType, QWidget* parent)
    : QDialog(parent),
      m_nShapeType(shapeType),
      m_pElement(element),
      m_typeList(new QComboBox(this)),
      m_penWidthEdit(NumberEdit(this, "penWidthEdit")),
      m_cornerEdit(NumberEdit(this, "cornerEdit")) {
    setWindowTitle(UiText(TextId::ShapeDlgTitle));

    // A plain drop-down list: no typed text, so no type outside 0..4 can be stored.
    m_typeList->setObjectName(QStringLiteral("typeList"));
    for (TextId name : {TextId::ShapeRectangle, TextId::ShapeRoundedRectangle, TextId::ShapeEllipse,
                        TextId::ShapeTriangle, TextId::ShapeDiamond}) {
        m_typeList->addItem(UiText(name));
    }
    m_typeList->setCurrentIndex(m_nShapeType >= 0 && m_nShapeType < m_typeList->count() ? m_nShapeType : -1);

    auto* form = new QFormLayout;
    form->addRow(UiText(TextId::ShapeDlgType), m_typeList);
    form->addRow(UiText(TextId::ShapeDlgLineWidth),
                 WithUnit(m_penWidthEdit, UiText(TextId::ShapeDlgDot), "penWidthUnit"));
    form->addRow(UiText(TextId::ShapeDlgCornerSize),
                 WithUnit(m_cornerEdit, UiText(TextId::ShapeDlgDot), "cornerUnit"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this, TextId::ShapeDlgOk, TextId::ShapeDlgCancel));

    m_penWidthEdit->setText(DecimalText(m_pElement->nPenWidth));
    m_cornerEdit->setText(DecimalText(m_pElement->nCornerSize));
    connect(m_typeList, &QComboBox::currentIndexChanged, this, &CShapeDlg::OnTypeChanged);
    m_typeList->setFocus();
}

void CShapeDlg::OnTypeChanged(int position) {
    if (position != kShapeRoundedRectangle) {
        return;
    }
    // Propose a corner for a shape that has none; a shape that has one shows its own.
    const int corner = m_pElement->nCornerSize != 0 ? m_pElement->nCornerSize : kProposedCornerSize;
    m_cornerEdit->setText(DecimalText(corner));
}

void CShapeDlg::accept() {
    // Only a damaged record opens with nothing selected; it then keeps its type rather than
    // getting another value outside the list.
    if (m_typeList->currentIndex() >= 0) {
        m_nShapeType = m_typeList->currentIndex();
        m_pElement->nShapeType = m_nShapeType;
    }
    m_pElement->nPenWidth = AtoiText(m_penWidthEdit->text());
    m_pElement->nCornerSize = AtoiText(m_cornerEdit->text());
    if (m_nShapeType == kShapeTriangle) {
        m_pElement->nEndX = -1;  // centres the apex again
    }
    QDialog::accept();
}

}  // namespace etiqo
