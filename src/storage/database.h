#pragma once

#include <QString>

namespace kalvado {

// The KD2.mdb file beside the executable, opened read-write. The program never
// creates it: a missing, unreadable or foreign file leaves the database closed
// with a message for the user that names the path.
class Database final {
public:
    Database(const QString &path, const QString &connectionName);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    bool isOpen() const { return m_open; }
    QString connectionName() const { return m_connectionName; }
    QString path() const { return m_path; }
    // Empty when open; otherwise a Bulgarian message naming the file.
    QString errorMessage() const { return m_error; }

    static QString fileName() { return QStringLiteral("KD2.mdb"); }

private:
    QString checkSchema() const;

    QString m_path;
    QString m_connectionName;
    bool m_open = false;
    QString m_error;
};

} // namespace kalvado
