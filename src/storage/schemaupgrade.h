#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QStringList>

namespace kalvado {

// Columns KD gained after its first form, at its end: the three odds as typed
// when the prognosis was made (NULL when they were not announced) and the
// moment it was made.
QStringList ArchiveOddsColumns();

// Whether the open file's KD has all of them.
bool HasArchiveOddsColumns(const QSqlDatabase &db);

// The match history's tables (Matches, Leagues, ClubLinks) and the indexes on
// Matches, by name, each with the statement that creates it.
struct SchemaObject {
    QString type; // "table" or "index"
    QString name;
    QString sql;
};
const QList<SchemaObject> &HistorySchema();

// Whether the open file has every table and index of the history.
bool HasHistoryTables(const QSqlDatabase &db);

// The links a new ClubLinks starts with: a club as the results site names
// it, and the starter club list's name for it.
const QList<QPair<QString, QString>> &DefaultClubLinks();

// Adds what an older file lacks: the odds columns (its rows keep NULL in
// them) and the history's tables and indexes (a ClubLinks made here starts
// with the default links), all in one committed transaction. False when the
// file could not be changed (opened read-only, locked): it is left as it was,
// its rows count as rows without odds and it has no history.
bool UpgradeSchema(const QSqlDatabase &db);

} // namespace kalvado
