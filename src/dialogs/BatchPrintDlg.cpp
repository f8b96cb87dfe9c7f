#include "dialogs/BatchPrintDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogParts.h"
#include "model/LabelFile.h"

namespace etiqo {

CBatchPrintDlg::CBatchPrintDlg(QWidget* parent) : QDialog(parent), m_fileList(new QListWidget(this)) {
    setWindowTitle(UiText(TextId::BatchDlgTitle));

    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_fileList->setMinimumWidth(m_fileList->fontMetrics().averageCharWidth() * 50);
    auto* listLabel = new QLabel(UiText(TextId::BatchDlgList), this);
    listLabel->setBuddy(m_fileList);

    auto* addButton = new QPushButton(UiText(TextId::BatchDlgAdd), this);
    addButton->setObjectName(QStringLiteral("addFileButton"));
    addButton->setAutoDefault(false);
    connect(addButton, &QPushButton::clicked, this, &CBatchPrintDlg::ChooseFiles);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(m_fileList, 1);
    layout->addLayout(ButtonRow(addButton, OkCancelButtons(this, TextId::BatchDlgPrint)));
}

void CBatchPrintDlg::ChooseFiles() {
    const QStringList chosen = QFileDialog::getOpenFileNames(this, UiText(TextId::BatchDlgAdd), QString(),
                                                             UiText(TextId::LabelFileFilter));
    AddFiles(chosen);
}

void CBatchPrintDlg::AddFiles(const QStringList& paths) {
    QStringList refused;
    for (const QString& path : paths) {
        // A label file is one the label reader takes; its error names the file and the reason.
        const LabelReadResult read = ReadLabelFile(std::filesystem::path(path.toStdString()));
        if (!read) {
            refused << QString::fromStdString(read.error);
            continue;
        }
        // Alphabetical, ignoring case as users read file names; an equal path goes after its twin.
        int row = 0;
        while (row < m_fileList->count() &&
               QString::compare(m_fileList->item(row)->text(), path, Qt::CaseInsensitive) <= 0) {
            ++row;
        }
        m_fileList->insertItem(row, path);
    }
    if (!refused.isEmpty()) {
        QMessageBox::warning(
            this, windowTitle(),
            UiText(TextId::BatchNotLabelFiles) + QStringLiteral("\n\n") + refused.join(QLatin1Char('\n')));
    }
}

void CBatchPrintDlg::accept() {
    m_arrFiles.clear();
    for (int row = 0; row < m_fileList->count(); ++row) {
        m_arrFiles << m_fileList->item(row)->text();
    }
    QDialog::accept();
}

}  // namespace etiqo
