#include "storage/recordset.h"

#include "storage/fastscan.h"

#include <QSqlDatabase>
#include <QSqlRecord>

namespace kalvado {

namespace {

// The driver hands text to SQLite as UTF-16, and SQLite then takes a leading
// U+FEFF or U+FFFE for a byte-order mark (dropping the one, byte-swapping
// after the other). Text goes in as its UTF-8 bytes instead, turned back into
// text by SQLite without any byte-order handling, so it is stored as typed.
QString marker(const QVariant &value) {
    return value.typeId() == QMetaType::QString ? QStringLiteral("CAST(? AS TEXT)") : QStringLiteral("?");
}

QString TextOf(const QVariant &value) {
    if (value.typeId() != QMetaType::QByteArray) return value.toString();
    const QByteArray bytes = value.toByteArray();
    return Utf8Text(bytes.constData(), bytes.size());
}

QVariant bindable(const QVariant &value) {
    return value.typeId() == QMetaType::QString ? QVariant(value.toString().toUtf8()) : value;
}

} // namespace

RecordSet::RecordSet(const QString &connectionName, const QString &table, QObject *parent)
    : QObject(parent), m_connection(connectionName), m_table(table) {}

QSqlQuery RecordSet::prepared(const QString &sql) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    return q;
}

bool RecordSet::open() {
    m_open = false;
    m_columns.clear();
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid() || !db.isOpen()) {
        setNoRow(State::BeforeFirst);
        return false;
    }
    QSqlQuery info(db);
    if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(m_table))) {
        m_lastError = info.lastError();
        setNoRow(State::BeforeFirst);
        return false;
    }
    while (info.next())
        m_columns << info.value(1).toString();
    if (m_columns.isEmpty()) {
        setNoRow(State::BeforeFirst);
        return false;
    }
    // Text comes back as its UTF-8 bytes: the driver's UTF-16 route turns a
    // stored U+FFFE into U+FFFD.
    QStringList selected{QStringLiteral("rowid")};
    for (const QString &c : std::as_const(m_columns))
        selected << QStringLiteral("CASE WHEN typeof(%1) = 'text' THEN CAST(%1 AS BLOB) ELSE %1 END").arg(c);
    m_select = QStringLiteral("SELECT %1 FROM %2 ").arg(selected.join(u','), m_table);
    const QString &select = m_select;
    m_firstQuery = prepared(select + QStringLiteral("ORDER BY rowid LIMIT 1"));
    m_nextQuery = prepared(select + QStringLiteral("WHERE rowid > ? ORDER BY rowid LIMIT 1"));
    m_previousQuery = prepared(select + QStringLiteral("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1"));
    m_lastQuery = prepared(select + QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
    m_open = true;
    first();
    return true;
}

void RecordSet::setNoRow(State state) {
    const bool changed = m_state == State::OnRow || !m_values.isEmpty();
    m_state = state;
    m_values.clear();
    if (changed) emit currentChanged();
}

bool RecordSet::moveBy(QSqlQuery &query, bool bindRowId, State whenNone) {
    if (!m_open) {
        setNoRow(whenNone);
        return false;
    }
    if (bindRowId) query.bindValue(0, m_rowId);
    if (!query.exec() || !query.next()) {
        query.finish();
        setNoRow(whenNone);
        return false;
    }
    m_rowId = query.value(0).toLongLong();
    m_values.resize(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i)
        m_values[i] = TextOf(query.value(i + 1));
    query.finish();
    m_state = State::OnRow;
    emit currentChanged();
    return true;
}

bool RecordSet::first() {
    return moveBy(m_firstQuery, false, State::AfterLast);
}

bool RecordSet::last() {
    return moveBy(m_lastQuery, false, State::BeforeFirst);
}

bool RecordSet::next() {
    switch (m_state) {
    case State::OnRow:
    case State::Deleted:
        return moveBy(m_nextQuery, true, State::AfterLast);
    case State::BeforeFirst:
        return first();
    case State::AfterLast:
        return false;
    }
    return false;
}

bool RecordSet::previous() {
    switch (m_state) {
    case State::OnRow:
    case State::Deleted:
        return moveBy(m_previousQuery, true, State::BeforeFirst);
    case State::AfterLast:
        return last();
    case State::BeforeFirst:
        return false;
    }
    return false;
}

bool RecordSet::findFirst(const QString &column, const QString &value) {
    if (!m_open || !m_columns.contains(column)) {
        setNoRow(State::AfterLast);
        return false;
    }
    QSqlQuery q = prepared(m_select +
                           QStringLiteral("WHERE %1 = %2 ORDER BY rowid LIMIT 1").arg(column, marker(value)));
    q.addBindValue(bindable(value));
    return moveBy(q, false, State::AfterLast);
}

bool RecordSet::append(const Values &values) {
    // A cursor that could not open (the file was locked) tries again.
    if (values.isEmpty() || (!m_open && !open())) return false;
    QStringList names;
    QStringList marks;
    for (const auto &v : values) {
        if (!m_columns.contains(v.first)) return false;
        names << v.first;
        marks << marker(v.second);
    }
    QSqlQuery q = prepared(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, names.join(u','), marks.join(u',')));
    for (const auto &v : values)
        q.addBindValue(bindable(v.second));
    return execWrite(q);
}

bool RecordSet::execWrite(QSqlQuery &query) const {
    if (query.exec()) return true;
    m_lastError = query.lastError();
    // A statement that never got prepared carries no error of its own.
    if (!m_lastError.isValid()) m_lastError = QSqlDatabase::database(m_connection, false).lastError();
    return false;
}

bool RecordSet::editRow(qint64 rowId, const Values &values) {
    if (!m_open || rowId < 0 || values.isEmpty()) return false;
    QStringList sets;
    for (const auto &v : values) {
        if (!m_columns.contains(v.first)) return false;
        sets << v.first + QStringLiteral(" = ") + marker(v.second);
    }
    QSqlQuery q = prepared(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(m_table, sets.join(u',')));
    for (const auto &v : values)
        q.addBindValue(bindable(v.second));
    q.addBindValue(rowId);
    return execWrite(q);
}

bool RecordSet::editCurrent(const Values &values) {
    if (!hasCurrent() || !editRow(m_rowId, values)) return false;
    for (const auto &v : values)
        m_values[m_columns.indexOf(v.first)] = v.second.toString();
    emit currentChanged();
    return true;
}

bool RecordSet::deleteCurrent() {
    if (!hasCurrent()) return false;
    QSqlQuery q = prepared(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_table));
    q.addBindValue(m_rowId);
    if (!execWrite(q)) return false;
    setNoRow(State::Deleted);
    return true;
}

int RecordSet::count() const {
    if (!m_open) return -1;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_table)) || !q.next()) {
        m_lastError = q.lastError();
        return -1;
    }
    return q.value(0).toInt();
}

QString RecordSet::value(const QString &column) const {
    if (!hasCurrent()) return {};
    const qsizetype i = m_columns.indexOf(column);
    return i < 0 ? QString() : m_values.at(i);
}

QString RecordSet::value(int position) const {
    if (!hasCurrent() || position < 0 || position >= m_values.size()) return {};
    return m_values.at(position);
}

QList<QStringList> RecordSet::scan(const QStringList &columns, const QString &endColumn) {
    QList<QStringList> rows;
    bool known = m_open && m_columns.contains(endColumn) && !columns.isEmpty();
    for (const QString &c : columns)
        known = known && m_columns.contains(c);
    if (known) {
        // Each column is selected once, the end column first: a scan of the
        // names by the names reads one column, not two.
        QStringList wanted{endColumn};
        QList<int> at;
        for (const QString &c : columns) {
            qsizetype i = wanted.indexOf(c);
            if (i < 0) {
                i = wanted.size();
                wanted << c;
            }
            at << int(i);
        }
        const QString sql =
            QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(wanted.join(u','), m_table);
        const auto takeRow = [&rows, &at](const QStringList &values) {
            if (values.at(0).isEmpty()) return false; // the scan ends at the first empty name
            QStringList row;
            row.reserve(at.size());
            for (const int i : at)
                row << values.at(i);
            rows << row;
            return true;
        };
        if (!FastScan(QSqlDatabase::database(m_connection, false), sql, int(wanted.size()), takeRow)) {
            rows.clear();
            QSqlQuery q(QSqlDatabase::database(m_connection, false));
            q.setForwardOnly(true);
            if (q.exec(sql)) {
                QStringList values(wanted.size());
                while (q.next()) {
                    for (int i = 0; i < values.size(); ++i)
                        values[i] = q.value(i).toString();
                    if (!takeRow(values)) break;
                }
            }
        }
    }
    setNoRow(State::AfterLast);
    return rows;
}

QStringList RecordSet::scanColumn(const QString &column) {
    QStringList values;
    if (m_open && m_columns.contains(column)) {
        const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(column, m_table);
        if (!FastScanColumn(QSqlDatabase::database(m_connection, false), sql, values)) {
            values.clear();
            QSqlQuery q(QSqlDatabase::database(m_connection, false));
            q.setForwardOnly(true);
            if (q.exec(sql)) {
                while (q.next()) {
                    QString value = q.value(0).toString();
                    if (value.isEmpty()) break;
                    values << std::move(value);
                }
            }
        }
    }
    setNoRow(State::AfterLast);
    return values;
}

QVariant RecordSet::textOrNull(const QString &text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

bool IsBlankName(const QString &name) {
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (!QChar::isSpace(c) && category != QChar::Other_Format && category != QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace kalvado
