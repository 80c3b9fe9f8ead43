#include "gui/archive/archivequeries.h"

#include "storage/fastscan.h"
#include "storage/recordset.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <optional>

namespace kalvado {

QString BeforeFirstEmpty(const QString &column) {
    return QStringLiteral("(rowid < (SELECT min(rowid) FROM KD WHERE ifnull(%1, '') = '')) IS NOT 0")
        .arg(column);
}

std::optional<int> Goals(const QString &text) {
    const QString digits = text.trimmed();
    if (digits.isEmpty()) return std::nullopt;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const int goals = digits.toInt(&ok);
    return ok ? std::optional<int>(goals) : std::nullopt;
}

namespace {

int Sign(int home, int guest) {
    return home > guest ? 1 : (home == guest ? 0 : -1);
}

} // namespace

HitCounts CountHits(const QString &connection) {
    HitCounts counts;
    const auto tally = [&counts](const QString &proD, const QString &proG, const QString &resD,
                                 const QString &resG, int rows) {
        counts.completed += rows;
        const auto pD = Goals(proD);
        const auto pG = Goals(proG);
        const auto rD = Goals(resD);
        const auto rG = Goals(resG);
        if (!pD || !pG || !rD || !rG) return;
        if (Sign(*pD, *pG) == Sign(*rD, *rG)) counts.signs += rows;
        if (*pD == *rD && *pG == *rG) counts.exact += rows;
    };
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    const QString completed = QStringLiteral("FROM KD WHERE resD <> '' AND resG <> '' AND %1")
                                  .arg(BeforeFirstEmpty(QStringLiteral("Dom")));
    // Streamed straight from SQLite, row by row: no sort, no per-row driver cost.
    if (FastScan(db, QStringLiteral("SELECT proD, proG, resD, resG ") + completed, 4,
                 [&](const QStringList &v) {
                     tally(v.at(0), v.at(1), v.at(2), v.at(3), 1);
                     return true;
                 }))
        return counts;
    counts = HitCounts{};
    // Through the driver, grouped by the four goal values so that only the few
    // distinct prognosis-and-result pairs leave the database.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT proD, proG, resD, resG, count(*) ") + completed +
                QStringLiteral(" GROUP BY proD, proG, resD, resG")))
        return counts;
    while (q.next())
        tally(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
              q.value(4).toInt());
    return counts;
}

QStringList FindPrognoses(const QString &connection, const QString &lowerCaseText, bool byGuest) {
    const QString column = byGuest ? QStringLiteral("Gost") : QStringLiteral("Dom");
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    // instr() is the plain substring test; an empty text is found in every row.
    q.prepare(QStringLiteral("SELECT Dom, Gost, proD, proG, resD, resG FROM KD "
                             "WHERE %1 AND instr(%2, ?) > 0 ORDER BY rowid")
                  .arg(BeforeFirstEmpty(column), column));
    q.addBindValue(lowerCaseText);
    QStringList lines;
    if (!q.exec()) return lines;
    while (q.next()) {
        lines << q.value(0).toString() + u'-' + q.value(1).toString() + u' ' + q.value(2).toString() + u':' +
                     q.value(3).toString() + QStringLiteral("    Реален резултат ") + q.value(4).toString() +
                     u':' + q.value(5).toString();
    }
    return lines;
}

void MovePastEnd(RecordSet &cursor) {
    // From the last row, the next move leaves the cursor with no row; on an
    // empty table both moves simply find nothing.
    cursor.last();
    cursor.next();
}

} // namespace kalvado
