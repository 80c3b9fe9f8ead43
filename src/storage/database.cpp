#include "storage/database.h"
#include "storage/schemaupgrade.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>

namespace kalvado {

namespace {

QStringList columnsOf(const QSqlDatabase &db, const QString &table, QString *error) {
    QSqlQuery q(db);
    QStringList names;
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        *error = q.lastError().text();
        return names;
    }
    while (q.next())
        names << q.value(1).toString();
    return names;
}

QStringList clubColumns() {
    QStringList c{QStringLiteral("Tim"), QStringLiteral("Date")};
    for (int k = 1; k <= 7; ++k)
        c << QStringLiteral("v%1").arg(k) << QStringLiteral("p%1").arg(k);
    return c;
}

} // namespace

Database::Database(const QString &path, const QString &connectionName)
    : m_path(path), m_connectionName(connectionName) {
    const QString reasonPrefix = QStringLiteral("Базата данни не може да бъде отворена:\n%1\n\n").arg(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        m_error = reasonPrefix + QStringLiteral("Файлът не съществува. Програмата ще работи без данни.");
        return;
    }
    if (!info.isFile() || !info.isReadable() || !info.isWritable()) {
        m_error = reasonPrefix + QStringLiteral("Файлът не може да бъде четен или записван. "
                                                "Програмата ще работи без данни.");
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // mode=rw: SQLite opens an existing file and never creates one.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
        m_error = reasonPrefix + db.lastError().text();
        return;
    }
    const QString schemaError = checkSchema();
    if (!schemaError.isEmpty()) {
        db.close();
        m_error = reasonPrefix + schemaError;
        return;
    }
    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Whole-table scans (club lists, statistics) stay in memory between keystrokes.
    pragma.exec(QStringLiteral("PRAGMA cache_size=-32000"));
    UpgradeSchema(db);
    m_open = true;
}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isValid()) db.close();
    }
    if (QSqlDatabase::contains(m_connectionName)) QSqlDatabase::removeDatabase(m_connectionName);
}

QString Database::checkSchema() const {
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QString error;
    const QStringList tims = columnsOf(db, QStringLiteral("Tims"), &error);
    if (!error.isEmpty()) return QStringLiteral("Файлът не е база данни на програмата (%1).").arg(error);
    if (tims != clubColumns())
        return QStringLiteral(
            "Файлът не е база данни на програмата: таблицата Tims липсва или е с други колони.");
    const QStringList kd = columnsOf(db, QStringLiteral("KD"), &error);
    const QStringList needed{QStringLiteral("proD"), QStringLiteral("proG"), QStringLiteral("resD"),
                             QStringLiteral("resG")};
    bool ok = kd.size() >= 7 && kd.at(0) == QLatin1String("Nom") && kd.at(1) == QLatin1String("Dom") &&
              kd.at(2) == QLatin1String("Gost");
    for (const QString &c : needed)
        ok = ok && kd.contains(c);
    if (!ok)
        return QStringLiteral(
            "Файлът не е база данни на програмата: таблицата KD липсва или е с други колони.");
    return {};
}

} // namespace kalvado
