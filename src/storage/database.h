#pragma once

#include <QSqlError>
#include <QString>

namespace kalvado {

// The KD2.mdb file beside the executable, opened read-write, or read-only when
// the file or its folder cannot be written. The program never creates it: a
// missing, unreadable or foreign file leaves the database closed with a
// message for the user that names the path.
class Database final {
public:
    // Auto: read-write where the file and its folder can be written.
    enum class Access { Auto, ReadOnly };

    Database(const QString &path, const QString &connectionName, Access access = Access::Auto);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    bool isOpen() const { return m_open; }
    bool isReadOnly() const { return m_readOnly; }
    QString connectionName() const { return m_connectionName; }
    QString path() const { return m_path; }
    // Empty when open; otherwise a Bulgarian message naming the file.
    QString errorMessage() const { return m_error; }
    // The driver's own words behind errorMessage(), if any.
    QString errorDetails() const { return m_details; }

    static QString fileName() { return QStringLiteral("KD2.mdb"); }

    // For code that knows only the connection: the file behind it (empty
    // when there is no such connection) and whether it was opened read-only.
    static QString pathOf(const QString &connectionName);
    static bool isReadOnly(const QString &connectionName);
    // The Bulgarian message for a write the connection refused, naming the
    // file and saying why; the driver's words go in the box's details.
    static QString writeFailureText(const QString &connectionName, const QSqlError &error);

private:
    QString m_path;
    QString m_connectionName;
    bool m_open = false;
    bool m_readOnly = false;
    QString m_error;
    QString m_details;
};

} // namespace kalvado
