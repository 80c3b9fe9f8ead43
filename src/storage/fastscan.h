#pragma once

#include <QByteArrayView>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace kalvado {

// Runs a read-only query straight on the SQLite connection behind a Qt
// connection, handing each row's values as text (NULL as empty) to onRow
// until it returns false. Whole-table scans spend most of their time in the
// Qt driver's per-row bookkeeping; this skips it. Returns false when the
// direct route is not available or the query fails, so the caller can fall
// back to QSqlQuery.
bool FastScan(const QSqlDatabase &db, const QString &sql, int columns,
              const std::function<bool(const QStringList &)> &onRow);

// The same with each value as the UTF-8 bytes SQLite holds (NULL as empty),
// valid only during the call: for scans whose per-row work is less than
// making a QString of every value. False as above.
bool FastScanUtf8(const QSqlDatabase &db, const QString &sql, int columns,
                  const std::function<bool(const QByteArrayView *)> &onRow);

// The same for a one-column query, collecting the values up to (not
// including) the first empty one.
bool FastScanColumn(const QSqlDatabase &db, const QString &sql, QStringList &values);

// UTF-8 text as stored: unlike QString::fromUtf8, a leading U+FEFF is kept
// as a character of the text.
QString Utf8Text(const char *data, qsizetype size);

} // namespace kalvado
