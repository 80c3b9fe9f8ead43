#include "gui/archive/archiveexport.h"

#include "engine/prognosis.h"
#include "gui/archive/archivequeries.h"
#include "storage/fastscan.h"
#include "storage/schemaupgrade.h"

#include <QDir>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace kalvado {

namespace {

constexpr qsizetype kChunk = 1 << 20;

// "1", "X" or "2"; empty when a goal value is no whole number.
QString SignOfText(const QString &home, const QString &guest) {
    const auto h = Goals(home);
    const auto g = Goals(guest);
    return h && g ? SignText(SignOf(*h, *g)) : QString();
}

QString Failure(const QString &path, const QString &why) {
    return QStringLiteral("Архивът не е записан във файла:\n%1\n\n%2")
        .arg(QDir::toNativeSeparators(path), why);
}

} // namespace

QStringList CsvHeader() {
    return {QStringLiteral("Номер"),
            QStringLiteral("Домакин"),
            QStringLiteral("Гост"),
            QStringLiteral("Прогноза домакин"),
            QStringLiteral("Прогноза гост"),
            QStringLiteral("Резултат домакин"),
            QStringLiteral("Резултат гост"),
            QStringLiteral("Коефициент 1"),
            QStringLiteral("Коефициент X"),
            QStringLiteral("Коефициент 2"),
            QStringLiteral("Направена на"),
            QStringLiteral("Знак на прогнозата"),
            QStringLiteral("Знак на резултата")};
}

QString ExportArchiveCsv(const QString &connection, const QString &path, int *rowsWritten) {
    if (rowsWritten) *rowsWritten = 0;
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isValid() || !db.isOpen())
        return Failure(path, QStringLiteral("Базата данни с архива не е отворена."));
    const QString odds = HasArchiveOddsColumns(db) ? QStringLiteral("k1, kX, k2, Created")
                                                   : QStringLiteral("NULL, NULL, NULL, NULL");
    const QString sql =
        QStringLiteral("SELECT Nom, Dom, Gost, proD, proG, resD, resG, %1 FROM KD ORDER BY rowid").arg(odds);

    enum class Outcome { Written, OpenFailed, ReadFailed, WriteFailed };
    int rows = 0;
    // Straight from SQLite, or through the driver when that route is not there
    // (or broke off: then the whole file is begun again).
    const auto attempt = [&](bool direct) {
        rows = 0;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return Outcome::OpenFailed;
        QByteArray buffer("\xEF\xBB\xBF");
        bool ok = true;
        const auto flush = [&] {
            ok = ok && file.write(buffer) == buffer.size();
            buffer.clear();
        };
        const auto line = [&](const QStringList &fields) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                if (i) buffer += ';';
                buffer += CsvField(fields.at(i)).toUtf8();
            }
            buffer += "\r\n";
            if (buffer.size() >= kChunk) flush();
            return ok;
        };
        line(CsvHeader());
        // Nom, Dom, Gost, proD, proG, resD, resG, k1, kX, k2, Created; then the signs.
        const auto row = [&](const QStringList &v) {
            ++rows;
            return line(v + QStringList{SignOfText(v.at(3), v.at(4)), SignOfText(v.at(5), v.at(6))});
        };
        bool read = false;
        if (direct) {
            read = FastScan(db, sql, 11, row);
        } else {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            read = q.exec(sql);
            QStringList values;
            while (read && ok && q.next()) {
                values.clear();
                for (int i = 0; i < 11; ++i)
                    values << q.value(i).toString();
                row(values);
            }
            read = read && q.lastError().type() == QSqlError::NoError;
        }
        flush();
        if (!ok) {
            file.cancelWriting();
            return Outcome::WriteFailed;
        }
        if (!read) {
            file.cancelWriting();
            return Outcome::ReadFailed;
        }
        if (!file.commit()) return Outcome::WriteFailed;
        return Outcome::Written;
    };

    Outcome outcome = attempt(true);
    if (outcome == Outcome::ReadFailed) outcome = attempt(false);
    switch (outcome) {
    case Outcome::Written:
        if (rowsWritten) *rowsWritten = rows;
        return {};
    case Outcome::OpenFailed:
        return Failure(path, QStringLiteral("Файлът не може да бъде създаден. Проверете дали папката "
                                            "съществува и дали имате право да пишете в нея."));
    case Outcome::ReadFailed:
        return Failure(path, QStringLiteral("Архивът не може да бъде прочетен."));
    case Outcome::WriteFailed:
        break;
    }
    return Failure(path, QStringLiteral("Записът не успя; може би дискът е пълен. Файлът не е "
                                        "създаден, а ако е имало такъв, той е останал както преди."));
}

} // namespace kalvado
