#pragma once

#include <QSqlDatabase>
#include <QStringList>

namespace kalvado {

// Columns KD gained after its first form, at its end: the three odds as typed
// when the prognosis was made (NULL when they were not announced) and the
// moment it was made.
QStringList ArchiveOddsColumns();

// Whether the open file's KD has all of them.
bool HasArchiveOddsColumns(const QSqlDatabase &db);

// Adds the columns an older file lacks, in one committed transaction; its
// rows keep NULL in them. False when the file could not be changed (opened
// read-only, locked): it is left as it was and its rows count as rows without
// odds.
bool UpgradeSchema(const QSqlDatabase &db);

} // namespace kalvado
