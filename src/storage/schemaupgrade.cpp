#include "storage/schemaupgrade.h"

#include <QSqlQuery>

namespace kalvado {

namespace {

QStringList ColumnsOfArchive(const QSqlDatabase &db) {
    QStringList names;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(KD)"))) return names;
    while (q.next())
        names << q.value(1).toString();
    return names;
}

} // namespace

QStringList ArchiveOddsColumns() {
    return {QStringLiteral("k1"), QStringLiteral("kX"), QStringLiteral("k2"), QStringLiteral("Created")};
}

bool HasArchiveOddsColumns(const QSqlDatabase &db) {
    const QStringList present = ColumnsOfArchive(db);
    for (const QString &c : ArchiveOddsColumns())
        if (!present.contains(c, Qt::CaseInsensitive)) return false;
    return true;
}

bool UpgradeSchema(const QSqlDatabase &db) {
    const QStringList present = ColumnsOfArchive(db);
    if (present.isEmpty()) return false;
    QStringList missing;
    for (const QString &c : ArchiveOddsColumns())
        if (!present.contains(c, Qt::CaseInsensitive)) missing << c;
    if (missing.isEmpty()) return true;
    // Adding a column rewrites only the table's definition, not its rows, so
    // the cost does not grow with the archive.
    QSqlDatabase conn = db;
    if (!conn.transaction()) return false;
    QSqlQuery q(conn);
    for (const QString &c : missing) {
        if (!q.exec(QStringLiteral("ALTER TABLE KD ADD COLUMN %1 TEXT").arg(c))) {
            conn.rollback();
            return false;
        }
    }
    if (!conn.commit()) {
        conn.rollback();
        return false;
    }
    return true;
}

} // namespace kalvado
