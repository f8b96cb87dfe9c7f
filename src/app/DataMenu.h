#pragma once
// The Data menu of the main frame: attaches a data source to the label (remembered in the side file
// beside it), picks the table or query, detaches it, and steps through the records, the canvas
// showing each record's values in the label's field references. Without a source the references
// show as typed.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/DataSource.h"
#include "model/Label.h"
#include "print/LabelPrintJob.h"

class QAction;
class QLabel;
class QMenu;
class QPainter;

namespace etiqo {

class CMainFrame;

class CDataMenu : public QObject {
    Q_OBJECT
public:
    explicit CDataMenu(CMainFrame& frame);

    // The source of the label now on the canvas (nullopt: none).
    const std::optional<SourceChoice>& Source() const { return m_choice; }
    long Record() const { return m_record; }

    void AttachFile(const QString& path);
    void AttachServer(const QString& connection);
    // A table name, or a query when it begins with SELECT or WITH.
    void ChooseRows(const QString& tableOrQuery);
    void Detach();
    // The label was saved as file: the attached source is remembered beside it as well.
    void Saved(const std::string& file);
    // Shows record n (from 1; clamped to the records there are).
    void ShowRecord(long n);

    // With a source: prints one label per record (copies of each, unless a quantity column says)
    // on the printer, asked for when empty; says what was left out. False without a source.
    bool PrintRecords(std::string printer, int copies);
    // A batch's queued file with its own side file: one label per record of that source on the
    // printer (what was left out said in the result's error); nullopt for a file without one.
    std::optional<PrintResult> PrintQueued(Label& label, const std::string& file, const std::string& printer);
    // Draws the label with the shown record's values (the preview), as DrawLabel would.
    bool DrawShown(QPainter& painter, Label& label);

private:
    void Sync();
    void Use(const SourceChoice& choice, bool remember);
    void Refresh();
    void Tell(const QString& message);
    // Fills a copy of an element with the shown record's values; false when it has no fields.
    bool Fill(Element& shown) const;

    CMainFrame& m_frame;
    QMenu* m_menu;
    QAction* m_rows;
    QAction* m_detach;
    QAction* m_steps[4];
    QLabel* m_status;
    std::string m_labelFile;  // the label whose side file is shown
    std::optional<SourceChoice> m_choice;
    std::vector<std::string> m_columns;
    std::unordered_map<std::string, int> m_index;
    std::vector<std::string> m_values;
    long m_record = 0;  // 0: no record shown
    std::function<bool(Element&)> m_fill;
};

}  // namespace etiqo
