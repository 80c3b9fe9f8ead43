// Build tool: makes the starter KD2.mdb from schema.sql, clubs.txt and the
// default club links.
// Usage: kalvado_makedb <schema.sql> <clubs.txt> <fresh.mdb> [<install copy>]
// The fresh file is always remade; the copy beside the executable is made
// only when it does not exist yet, so a rebuild never touches the user's data.
#include "storage/schemaupgrade.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(const QString &message) {
    std::fprintf(stderr, "kalvado_makedb: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return fail(QStringLiteral("usage: kalvado_makedb schema.sql clubs.txt out.mdb [copy.mdb]"));
    QFile schemaFile(args.at(1));
    QFile clubsFile(args.at(2));
    if (!schemaFile.open(QIODevice::ReadOnly | QIODevice::Text) ||
        !clubsFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read the inputs"));
    const QString out = args.at(3);
    const QString temp = out + QStringLiteral(".tmp");
    QFile::remove(temp);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(temp);
        if (!db.open()) return fail(db.lastError().text());
        QSqlQuery q(db);
        const QString schema = QString::fromUtf8(schemaFile.readAll());
        QString statement;
        for (const QString &line : schema.split(u'\n')) {
            if (line.trimmed().startsWith(QLatin1String("--"))) continue;
            statement += line + u'\n';
            if (line.trimmed().endsWith(u';')) {
                if (!q.exec(statement)) return fail(q.lastError().text());
                statement.clear();
            }
        }
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO Tims (Tim, Date) VALUES (?, ?)"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QTextStream clubs(&clubsFile);
        while (!clubs.atEnd()) {
            const QString name = clubs.readLine();
            if (name.trimmed().isEmpty() || name.startsWith(u'#')) continue;
            insert.addBindValue(name);
            insert.addBindValue(today);
            if (!insert.exec()) return fail(insert.lastError().text());
        }
        QSqlQuery link(db);
        link.prepare(QStringLiteral("INSERT INTO ClubLinks (Name, Tim) VALUES (?, ?)"));
        for (const auto &[name, tim] : kalvado::DefaultClubLinks()) {
            link.addBindValue(name);
            link.addBindValue(tim);
            if (!link.exec()) return fail(link.lastError().text());
        }
        if (!db.commit()) return fail(db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    QFile::remove(out);
    if (!QFile::rename(temp, out)) return fail(QStringLiteral("cannot write ") + out);
    if (args.size() > 4 && !QFile::exists(args.at(4)) && !QFile::copy(out, args.at(4)))
        return fail(QStringLiteral("cannot write ") + args.at(4));
    if (args.size() > 4)
        QFile(args.at(4))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
    return 0;
}
