#include "storage/database.h"
#include "storage/schemaupgrade.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace kalvado {

namespace {

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteNotADb = 26;

int primaryCode(const QSqlError &error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

QStringList columnsOf(const QSqlDatabase &db, const QString &table, QSqlError *error) {
    QSqlQuery q(db);
    QStringList names;
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        *error = q.lastError();
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

// What a failed read of a freshly opened file says about the file.
QString readFailureReason(const QSqlError &error) {
    switch (primaryCode(error)) {
    case kSqliteNotADb:
        return QStringLiteral("Файлът не е база данни на програмата.");
    case kSqliteCorrupt:
        return QStringLiteral("Файлът е повреден.");
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral(
            "Файлът е заключен от друга програма. Затворете я и стартирайте Kalvado отново.");
    default:
        return QStringLiteral("Файлът не може да бъде прочетен.");
    }
}

// Empty when both tables and their columns are there.
QString schemaFailure(const QSqlDatabase &db, QSqlError *error) {
    const QStringList tims = columnsOf(db, QStringLiteral("Tims"), error);
    if (error->isValid()) return readFailureReason(*error);
    if (tims != clubColumns())
        return QStringLiteral(
            "Файлът не е база данни на програмата: таблицата Tims липсва или е с други колони.");
    const QStringList kd = columnsOf(db, QStringLiteral("KD"), error);
    if (error->isValid()) return readFailureReason(*error);
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

QUrl urlOf(const QString &connectionName) {
    if (!QSqlDatabase::contains(connectionName)) return {};
    return QUrl(QSqlDatabase::database(connectionName, false).databaseName());
}

} // namespace

Database::Database(const QString &path, const QString &connectionName, Access access)
    : m_path(path), m_connectionName(connectionName) {
    const QString reasonPrefix = QStringLiteral("Базата данни не може да бъде отворена:\n%1\n\n").arg(path);
    const QString runsOn = QStringLiteral(" Програмата ще работи без данни.");
    const QFileInfo info(path);
    // A file or folder that cannot be written is still browsed, read-only.
    m_readOnly = info.exists() && (access == Access::ReadOnly || !info.isWritable() ||
                                   !QFileInfo(info.absolutePath()).isWritable());
    // The connection knows its file even when the file is unusable, so that
    // every later message can name it.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // mode=rw: SQLite opens an existing file and never creates one.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(m_readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!info.exists()) {
        m_error = reasonPrefix + QStringLiteral("Файлът не съществува.") + runsOn;
        return;
    }
    if (!info.isFile() || !info.isReadable()) {
        m_error = reasonPrefix + QStringLiteral("Файлът не може да бъде прочетен.") + runsOn;
        return;
    }
    if (!db.open()) {
        m_error = reasonPrefix + readFailureReason(db.lastError()) + runsOn;
        m_details = db.lastError().text();
        return;
    }
    QSqlError error;
    const QString schemaError = schemaFailure(db, &error);
    if (!schemaError.isEmpty()) {
        db.close();
        m_error = reasonPrefix + schemaError + runsOn;
        m_details = error.text();
        return;
    }
    QSqlQuery pragma(db);
    // EXTRA also syncs the folder when the rollback journal goes, so the
    // newest commit survives a power cut.
    pragma.exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
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

QString Database::pathOf(const QString &connectionName) {
    const QUrl url = urlOf(connectionName);
    if (url.isLocalFile()) return url.toLocalFile();
    return QSqlDatabase::contains(connectionName)
               ? QSqlDatabase::database(connectionName, false).databaseName()
               : QString();
}

bool Database::isReadOnly(const QString &connectionName) {
    return QUrlQuery(urlOf(connectionName)).queryItemValue(QStringLiteral("mode")) == QLatin1String("ro");
}

QString Database::writeFailureText(const QString &connectionName, const QSqlError &error) {
    const QString path = pathOf(connectionName);
    const int code = primaryCode(error);
    const auto naming = [&path](const QString &head) {
        return path.isEmpty() ? head + QStringLiteral(".\n\n") : head + QStringLiteral(":\n%1\n\n").arg(path);
    };
    const QString unsaved = QStringLiteral("Промяната не е записана.");
    if (isReadOnly(connectionName) || code == kSqliteReadOnly || code == kSqlitePerm)
        return naming(QStringLiteral("Базата данни е само за четене")) + unsaved;
    QString reason;
    if (code == kSqliteBusy || code == kSqliteLocked)
        reason = QStringLiteral("Файлът е зает от друга програма. Опитайте отново, когато тя го освободи.");
    else if (code == kSqliteFull)
        reason = QStringLiteral("Няма свободно място на диска.");
    else if (!QSqlDatabase::contains(connectionName) ||
             !QSqlDatabase::database(connectionName, false).isOpen())
        reason = QStringLiteral("Базата данни не е отворена.");
    return naming(QStringLiteral("Базата данни не може да бъде записана")) +
           (reason.isEmpty() ? QString() : reason + u'\n') + unsaved;
}

} // namespace kalvado
