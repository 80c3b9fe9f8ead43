#pragma once

#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace kalvado {

// A cursor over one whole table in stored (rowid) order. Moves are indexed
// queries, scans are single queries, and every write is committed before the
// call returns. Values are read back as text; NULL reads as empty text.
class RecordSet final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordSet)

public:
    using Values = QList<std::pair<QString, QVariant>>;

    RecordSet(const QString &connectionName, const QString &table, QObject *parent = nullptr);

    // Opens the table; the first row, if any, becomes current. An empty
    // table opens as well as a full one.
    bool open();
    // Re-reads the table; the first row becomes current.
    bool refresh() { return first(); }

    bool first();
    bool next();
    bool previous();
    bool last();
    // First row (from the start of the table) whose column equals the value,
    // compared exactly. Without a match there is no current row.
    bool findFirst(const QString &column, const QString &value);

    // Stores a new row at the end of the table; the current row stays.
    bool append(const Values &values);
    // Changes columns of the current row and stores them.
    bool editCurrent(const Values &values);
    // Changes columns of the row with that id, current or not; the current
    // row stays as it was read.
    bool editRow(qint64 rowId, const Values &values);
    // Removes the current row; afterwards there is no current row and next()
    // moves to the row that followed it.
    bool deleteCurrent();

    // Number of rows, or -1 when the table cannot be read.
    int count() const;
    // Why the last write or count failed.
    QSqlError lastError() const { return m_lastError; }

    bool isOpen() const { return m_open; }
    bool hasCurrent() const { return m_state == State::OnRow; }
    qint64 currentRowId() const { return hasCurrent() ? m_rowId : -1; }
    QString value(const QString &column) const;
    QString value(int position) const;
    const QStringList &columns() const { return m_columns; }
    const QString &table() const { return m_table; }

    // Reads the given columns of every row from the first, stopping before
    // the first row whose endColumn is empty. Leaves no current row.
    QList<QStringList> scan(const QStringList &columns, const QString &endColumn);
    // The same for one column that is also the end column (the club names).
    QStringList scanColumn(const QString &column);

    // Turns a typed value into what is stored: empty text becomes NULL.
    static QVariant textOrNull(const QString &text);

signals:
    void currentChanged();

private:
    enum class State { OnRow, BeforeFirst, AfterLast, Deleted };

    bool moveBy(QSqlQuery &query, bool bindRowId, State whenNone);
    void setNoRow(State state);
    QSqlQuery prepared(const QString &sql) const;
    bool execWrite(QSqlQuery &query) const;

    QString m_connection;
    QString m_table;
    QStringList m_columns;
    QString m_select; // every column, from the rowid on
    QStringList m_values;
    qint64 m_rowId = -1;
    State m_state = State::BeforeFirst;
    bool m_open = false;
    QSqlQuery m_firstQuery;
    QSqlQuery m_nextQuery;
    QSqlQuery m_previousQuery;
    QSqlQuery m_lastQuery;
    mutable QSqlError m_lastError;
};

// A name made only of blanks and invisible characters (U+FEFF, U+200B and
// the like) is no name at all.
bool IsBlankName(const QString &name);

} // namespace kalvado
