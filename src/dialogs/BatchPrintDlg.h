#pragma once
// Picks label files for batch printing. The list keeps itself in alphabetical order and may hold
// a path twice; Print hands the list over from the top.

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace etiqo {

class CBatchPrintDlg : public QDialog {
    Q_OBJECT

public:
    explicit CBatchPrintDlg(QWidget* parent = nullptr);

    QStringList m_arrFiles;  // filled by Print (OK), in list order

    // Adds the label files among paths; the others are left out and named, with the reason, in
    // one message.
    void AddFiles(const QStringList& paths);

    void accept() override;

private:
    void ChooseFiles();

    QListWidget* m_fileList;
};

}  // namespace etiqo
