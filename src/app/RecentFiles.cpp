#include "app/RecentFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace etiqo {
namespace {

// Keys of the list as the original profile named them: File1 is the newest.
const char* const kGroup = "Recent File List";
QString EntryKey(int n) {
    return QStringLiteral("File%1").arg(n + 1);
}

}  // namespace

void SetUpApplicationSettings() {
    QCoreApplication::setOrganizationName(QStringLiteral("Etiqo"));
    QCoreApplication::setApplicationName(QStringLiteral("Etiqo"));
}

RecentFiles::RecentFiles() {
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int n = 0; n < kMaxEntries; ++n) {
        const QString path = settings.value(EntryKey(n)).toString();
        if (!path.isEmpty() && !m_entries.contains(path)) {
            m_entries.append(path);
        }
    }
}

void RecentFiles::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_entries.removeAll(absolute);
    m_entries.prepend(absolute);
    while (m_entries.size() > kMaxEntries) {
        m_entries.removeLast();
    }
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int n = 0; n < kMaxEntries; ++n) {
        if (n < m_entries.size()) {
            settings.setValue(EntryKey(n), m_entries[n]);
        } else {
            settings.remove(EntryKey(n));
        }
    }
}

QString RecentFiles::LastFolder() const {
    return m_entries.isEmpty() ? QString() : QFileInfo(m_entries.front()).absolutePath();
}

}  // namespace etiqo
