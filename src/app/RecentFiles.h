#pragma once
// The recent-file list: the last four labels opened or saved, newest first, kept in the user's
// settings. No menu shows it; the file dialogs start in the folder of the newest entry.

#include <QString>
#include <QStringList>

namespace etiqo {

class RecentFiles {
public:
    static constexpr int kMaxEntries = 4;

    // Reads the list from the application's QSettings.
    RecentFiles();

    const QStringList& Entries() const { return m_entries; }
    // Puts the file first (once), drops the oldest beyond four, and writes the list back.
    void Add(const QString& path);
    // The folder of the newest entry, or empty.
    QString LastFolder() const;

private:
    QStringList m_entries;
};

// Names the application for QSettings (organisation and application "Etiqo").
void SetUpApplicationSettings();

}  // namespace etiqo
