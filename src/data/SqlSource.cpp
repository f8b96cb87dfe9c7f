#include "data/SqlSource.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <atomic>
#include <optional>

#include "res/UiText.h"

namespace etiqo {

namespace {

std::string Reason(const QSqlError& error) {
    QString text = error.text().trimmed();
    return (text.isEmpty() ? QStringLiteral("?") : text).toStdString();
}

// Each source has a connection of its own, removed with it.
class SqlSource final : public DataSource {
public:
    explicit SqlSource(QString connection) : m_connection(std::move(connection)) {}
    ~SqlSource() override {
        m_query.reset();
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    SqlSource(const SqlSource&) = delete;
    SqlSource& operator=(const SqlSource&) = delete;

    bool Open(const SourceChoice& choice, std::string& error) {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (!db.open()) {
            error = UiText(TextId::DataCannotOpen, choice.location, Reason(db.lastError())).toStdString();
            return false;
        }
        QString sql = QString::fromStdString(choice.query);
        if (sql.trimmed().isEmpty()) {
            sql = QStringLiteral("SELECT * FROM ") +
                  db.driver()->escapeIdentifier(QString::fromStdString(choice.table), QSqlDriver::TableName);
        }
        m_query.emplace(db);
        m_query->setForwardOnly(true);
        if (!m_query->exec(sql)) {
            error = UiText(TextId::DataQueryFailed, Reason(m_query->lastError())).toStdString();
            return false;
        }
        const QSqlRecord record = m_query->record();
        for (int i = 0; i < record.count(); ++i) {
            m_columns.push_back(record.fieldName(i).toStdString());
        }
        return true;
    }

    const std::vector<std::string>& Columns() const override { return m_columns; }

    bool Next(std::vector<std::string>& values) override {
        if (!m_query || !m_query->next()) {
            if (m_query && m_query->lastError().isValid()) {
                m_error = Reason(m_query->lastError());
            }
            return false;
        }
        values.resize(m_columns.size());
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const QVariant value = m_query->value(static_cast<int>(i));
            values[i] = value.isNull() ? std::string() : value.toString().toStdString();
        }
        return true;
    }

    std::string Error() const override { return m_error; }

private:
    QString m_connection;
    std::optional<QSqlQuery> m_query;
    std::vector<std::string> m_columns;
    std::string m_error;
};

QString NewConnectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("etiqo-data-%1").arg(++next);
}

// Sets up the connection for the location; false with the reason.
bool Configure(const SourceChoice& choice, const QString& name, std::string& error) {
    const QString location = QString::fromStdString(choice.location);
    QString driver;
    if (choice.kind == SourceKind::Sqlite) {
        driver = QStringLiteral("QSQLITE");
    } else if (location.startsWith(QLatin1String("odbc:"))) {
        driver = QStringLiteral("QODBC");
    } else if (location.startsWith(QLatin1String("postgresql://")) ||
               location.startsWith(QLatin1String("postgres://"))) {
        driver = QStringLiteral("QPSQL");
    } else {
        error = UiText(TextId::DataUnknownSource, choice.location).toStdString();
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        error = UiText(TextId::DataNoDriver, driver.toStdString()).toStdString();
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
    if (driver == QLatin1String("QSQLITE")) {
        // Qt would create an empty database for a missing file; a source is only ever read.
        const QFileInfo file(location);
        if (!file.isFile()) {
            error = UiText(TextId::DataCannotOpen, choice.location, Tr(TextId::DataNoSuchFile)).toStdString();
            return false;
        }
        db.setDatabaseName(location);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    } else if (driver == QLatin1String("QODBC")) {
        db.setDatabaseName(location.mid(5));
    } else {
        const QUrl url(location);
        const QUrlQuery options(url);
        db.setHostName(options.hasQueryItem(QStringLiteral("host"))
                           ? options.queryItemValue(QStringLiteral("host"))
                           : url.host());
        if (url.port() > 0) {
            db.setPort(url.port());
        }
        db.setUserName(url.userName());
        db.setPassword(url.password());  // for this run only; the side file never keeps it
        db.setDatabaseName(url.path().mid(1));
    }
    return true;
}

}  // namespace

std::unique_ptr<DataSource> OpenSqlSource(const SourceChoice& choice, std::string& error) {
    const QString name = NewConnectionName();
    if (!Configure(choice, name, error)) {
        QSqlDatabase::removeDatabase(name);
        return nullptr;
    }
    auto source = std::make_unique<SqlSource>(name);
    if (!source->Open(choice, error)) {
        return nullptr;
    }
    return source;
}

}  // namespace etiqo
