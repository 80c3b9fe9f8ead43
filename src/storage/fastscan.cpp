#include "storage/fastscan.h"

#include <QSqlDriver>
#include <QVariant>

#include <dlfcn.h>

namespace kalvado {

namespace {

// The few entry points of the SQLite library that the Qt driver already
// loaded; looked up at run time so the build needs no SQLite headers.
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
        if (!lib)
            return a;
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
    if (!db.isValid() || !db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

} // namespace

bool FastScan(const QSqlDatabase &db, const QString &sql, int columns,
              const std::function<bool(const QStringList &)> &onRow) {
    // The handle first: the library is looked up only once a connection has loaded it.
    sqlite3 *handle = HandleOf(db);
    if (!handle)
        return false;
    const SqliteApi &api = Api();
    if (!api.ok)
        return false;
    sqlite3_stmt *stmt = nullptr;
    if (api.prepare(handle, sql.utf16(), int(sql.size() * sizeof(char16_t)), &stmt, nullptr) != kSqliteOk ||
        !stmt) {
        if (stmt)
            api.finalize(stmt);
        return false;
    }
    QStringList values(columns);
    int rc = kSqliteRow;
    while ((rc = api.step(stmt)) == kSqliteRow) {
        for (int i = 0; i < columns; ++i) {
            // Qt's UTF-8 decoder is much cheaper than SQLite's own translation.
            const auto *text = reinterpret_cast<const char *>(api.text(stmt, i));
            values[i] = text ? QString::fromUtf8(text, api.bytes(stmt, i)) : QString();
        }
        if (!onRow(values)) {
            rc = kSqliteDone;
            break;
        }
    }
    api.finalize(stmt);
    return rc == kSqliteDone;
}

} // namespace kalvado
