#include "storage/fastscan.h"

#include <QSqlDriver>
#include <QVarLengthArray>
#include <QVariant>

#include <dlfcn.h>

namespace kalvado {

namespace {

// The few entry points of the SQLite library that the Qt driver already
// loaded (Debian's driver links the system libsqlite3; a driver with SQLite
// built in loads no such library, and the direct route is then skipped).
// Looked up at run time so the build needs no SQLite headers.
struct sqlite3;
struct sqlite3_stmt;
struct SqliteApi {
    int (*prepare)(sqlite3 *, const void *, int, sqlite3_stmt **, const void **) = nullptr;
    int (*step)(sqlite3_stmt *) = nullptr;
    const unsigned char *(*text)(sqlite3_stmt *, int) = nullptr;
    int (*bytes)(sqlite3_stmt *, int) = nullptr;
    int (*finalize)(sqlite3_stmt *) = nullptr;
    bool ok = false;
};

constexpr int kSqliteOk = 0;
constexpr int kSqliteRow = 100;
constexpr int kSqliteDone = 101;

const SqliteApi &Api() {
    static const SqliteApi api = [] {
        SqliteApi a;
        void *lib = dlopen("libsqlite3.so.0", RTLD_LAZY | RTLD_NOLOAD);
        if (!lib) return a;
        a.prepare = reinterpret_cast<decltype(a.prepare)>(dlsym(lib, "sqlite3_prepare16_v2"));
        a.step = reinterpret_cast<decltype(a.step)>(dlsym(lib, "sqlite3_step"));
        a.text = reinterpret_cast<decltype(a.text)>(dlsym(lib, "sqlite3_column_text"));
        a.bytes = reinterpret_cast<decltype(a.bytes)>(dlsym(lib, "sqlite3_column_bytes"));
        a.finalize = reinterpret_cast<decltype(a.finalize)>(dlsym(lib, "sqlite3_finalize"));
        a.ok = a.prepare && a.step && a.text && a.bytes && a.finalize;
        return a;
    }();
    return api;
}

sqlite3 *HandleOf(const QSqlDatabase &db) {
    if (!db.isValid() || !db.isOpen() || !db.driver()) return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

// Prepares the statement on the direct route; nullptr when it is not there.
sqlite3_stmt *Prepare(const QSqlDatabase &db, const QString &sql) {
    // The handle first: the library is looked up only once a connection has loaded it.
    sqlite3 *handle = HandleOf(db);
    if (!handle || !Api().ok) return nullptr;
    sqlite3_stmt *stmt = nullptr;
    if (Api().prepare(handle, sql.utf16(), int(sql.size() * sizeof(char16_t)), &stmt, nullptr) != kSqliteOk) {
        if (stmt) Api().finalize(stmt);
        return nullptr;
    }
    return stmt;
}

// Qt's UTF-8 decoder is much cheaper than SQLite's own translation to UTF-16.
QString TextAt(sqlite3_stmt *stmt, int column) {
    const auto *text = reinterpret_cast<const char *>(Api().text(stmt, column));
    return text ? Utf8Text(text, Api().bytes(stmt, column)) : QString();
}

} // namespace

QString Utf8Text(const char *data, qsizetype size) {
    // The decoder skips a leading byte-order mark; here it is part of the name.
    qsizetype marks = 0;
    while (size - 3 * marks >= 3 && data[3 * marks] == '\xEF' && data[3 * marks + 1] == '\xBB' &&
           data[3 * marks + 2] == '\xBF')
        ++marks;
    if (marks == 0) return QString::fromUtf8(data, size);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(data + 3 * marks, size - 3 * marks);
}

bool FastScanColumn(const QSqlDatabase &db, const QString &sql, QStringList &values) {
    sqlite3_stmt *stmt = Prepare(db, sql);
    if (!stmt) return false;
    int rc = kSqliteRow;
    while ((rc = Api().step(stmt)) == kSqliteRow) {
        QString value = TextAt(stmt, 0);
        if (value.isEmpty()) {
            rc = kSqliteDone;
            break;
        }
        values << std::move(value);
    }
    Api().finalize(stmt);
    return rc == kSqliteDone;
}

bool FastScan(const QSqlDatabase &db, const QString &sql, int columns,
              const std::function<bool(const QStringList &)> &onRow) {
    sqlite3_stmt *stmt = Prepare(db, sql);
    if (!stmt) return false;
    QStringList values(columns);
    int rc = kSqliteRow;
    while ((rc = Api().step(stmt)) == kSqliteRow) {
        for (int i = 0; i < columns; ++i)
            values[i] = TextAt(stmt, i);
        if (!onRow(values)) {
            rc = kSqliteDone;
            break;
        }
    }
    Api().finalize(stmt);
    return rc == kSqliteDone;
}

bool FastScanUtf8(const QSqlDatabase &db, const QString &sql, int columns,
                  const std::function<bool(const QByteArrayView *)> &onRow) {
    sqlite3_stmt *stmt = Prepare(db, sql);
    if (!stmt) return false;
    QVarLengthArray<QByteArrayView, 16> values(columns);
    int rc = kSqliteRow;
    while ((rc = Api().step(stmt)) == kSqliteRow) {
        for (int i = 0; i < columns; ++i) {
            // Text first, then its length: SQLite's documented order.
            const auto *text = reinterpret_cast<const char *>(Api().text(stmt, i));
            values[i] = text ? QByteArrayView(text, Api().bytes(stmt, i)) : QByteArrayView();
        }
        if (!onRow(values.constData())) {
            rc = kSqliteDone;
            break;
        }
    }
    Api().finalize(stmt);
    return rc == kSqliteDone;
}

} // namespace kalvado
