#pragma once

#include "support/testenv.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace kalvado::test {

// Appends a Tims row; results holds v1, p1 ... v7, p7 (missing or empty
// entries are stored as NULL).
inline void AddClubRow(TestEnv &env, const QVariant &name, const QString &date,
                       const QStringList &results = {}) {
    QSqlQuery q(QSqlDatabase::database(env.ctx.connectionName));
    q.prepare(QStringLiteral("INSERT INTO Tims VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    q.addBindValue(name);
    q.addBindValue(date);
    for (int i = 0; i < 14; ++i)
        q.addBindValue(results.value(i).isEmpty() ? QVariant() : QVariant(results.value(i)));
    if (!q.exec()) qFatal("cannot add a club row");
}

// Every Tims row in stored order, columns joined, NULL shown as "-".
inline QStringList DumpClubs(TestEnv &env) {
    QStringList rows;
    QSqlQuery q(QSqlDatabase::database(env.ctx.connectionName));
    q.exec(QStringLiteral("SELECT * FROM Tims ORDER BY rowid"));
    while (q.next()) {
        QStringList cols;
        for (int i = 0; i < 16; ++i)
            cols << (q.isNull(i) ? QStringLiteral("-") : q.value(i).toString());
        rows << cols.join(u'|');
    }
    return rows;
}

// The message boxes shown so far, one line each: title|text|icon|buttons.
inline QStringList Boxes(const TestEnv &env) {
    QStringList lines;
    for (const MessageBoxes::Shown &b : env.messages.shown())
        lines << QStringLiteral("%1|%2|%3|%4").arg(b.title, b.text).arg(int(b.icon)).arg(int(b.buttons));
    return lines;
}

inline QString Box(const QString &text, MessageBoxes::Icon icon, MessageBoxes::Buttons buttons) {
    return QStringLiteral("Kalvado|%1|%2|%3").arg(text).arg(int(icon)).arg(int(buttons));
}

} // namespace kalvado::test
