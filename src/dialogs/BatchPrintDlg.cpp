#include "dialogs/BatchPrintDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "dialogs/DialogParts.h"

namespace etiqo {

bool IsLabelFile(const QString& path) {
    const QFileInfo info(path);
    if (info.suffix().compare(QStringLiteral("lab"), Qt::CaseInsensitive) != 0 || !info.isFile()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // Every label file, old layout or new, starts with 20 bytes of "%d %d" size text.
    const QByteArray sizeBlock = file.read(20);
    if (sizeBlock.size() < 20) {
        return false;
    }
    static const QRegularExpression kSizeText(QStringLiteral("^\\s*[-+]?\\d+\\s+[-+]?\\d+"));
    return kSizeText.match(QString::fromLatin1(sizeBlock.left(sizeBlock.indexOf('\0')))).hasMatch();
}

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
        if (!IsLabelFile(path)) {
            refused << QDir::toNativeSeparators(path);
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
