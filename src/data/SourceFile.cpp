#include "data/SourceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace etiqo {

namespace {

bool IsFileKind(SourceKind kind) {
    return kind != SourceKind::Sql;
}

}  // namespace

std::string SourceFilePath(const std::string& labelPath) {
    return labelPath + ".data";
}

std::string WithoutPassword(const std::string& location) {
    if (location.find("://") == std::string::npos) {
        return location;
    }
    QUrl url(QString::fromStdString(location));
    if (!url.isValid() || url.password().isEmpty()) {
        return location;
    }
    url.setPassword({});
    return url.toString().toStdString();
}

std::optional<SourceChoice> ReadSourceFile(const std::string& labelPath) {
    const QString path = QString::fromStdString(SourceFilePath(labelPath));
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("source"));
    SourceChoice choice;
    if (!SourceKindFromName(file.value(QStringLiteral("kind")).toString().toStdString(), choice.kind)) {
        return std::nullopt;
    }
    QString location = file.value(QStringLiteral("location")).toString();
    if (location.isEmpty()) {
        return std::nullopt;
    }
    if (IsFileKind(choice.kind) && QFileInfo(location).isRelative()) {
        location = QFileInfo(QString::fromStdString(labelPath)).absoluteDir().filePath(location);
    }
    choice.location = location.toStdString();
    choice.table = file.value(QStringLiteral("table")).toString().toStdString();
    choice.query = file.value(QStringLiteral("query")).toString().toStdString();
    choice.quantityColumn = file.value(QStringLiteral("quantity")).toString().toStdString();
    choice.copies = std::max(1, file.value(QStringLiteral("copies"), 1).toInt());
    return choice;
}

bool WriteSourceFile(const std::string& labelPath, const SourceChoice& choice) {
    const QString path = QString::fromStdString(SourceFilePath(labelPath));
    QString location = QString::fromStdString(WithoutPassword(choice.location));
    if (IsFileKind(choice.kind)) {
        const QDir folder = QFileInfo(QString::fromStdString(labelPath)).absoluteDir();
        const QString relative = folder.relativeFilePath(QFileInfo(location).absoluteFilePath());
        if (!relative.startsWith(QLatin1String(".."))) {
            location = relative;
        }
    }
    QFile::remove(path);  // no keys of an earlier source stay behind
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("source"));
    file.setValue(QStringLiteral("kind"), QString::fromLatin1(SourceKindName(choice.kind)));
    file.setValue(QStringLiteral("location"), location);
    const auto optional = [&](const char* key, const std::string& value) {
        if (!value.empty()) {
            file.setValue(QLatin1String(key), QString::fromStdString(value));
        }
    };
    optional("table", choice.table);
    optional("query", choice.query);
    optional("quantity", choice.quantityColumn);
    if (choice.copies != 1) {
        file.setValue(QStringLiteral("copies"), choice.copies);
    }
    file.endGroup();
    file.sync();
    return file.status() == QSettings::NoError;
}

bool RemoveSourceFile(const std::string& labelPath) {
    const QString path = QString::fromStdString(SourceFilePath(labelPath));
    return !QFileInfo::exists(path) || QFile::remove(path);
}

}  // namespace etiqo
