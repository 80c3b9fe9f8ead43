// The club table grown large: the club list's refill per keystroke, and the
// cursor moves and name scan that the club windows and recording rely on.
#include "bench/bench.h"
#include "gui/club_windows/clublistwindow.h"
#include "gui/common/alphabetical.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "storage/database.h"
#include "storage/recordset.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <ctime>

namespace {

QString ClubName(int i) {
    static const QStringList stems{"Левски", "ЦСКА", "Славия", "Локомотив", "Берое", "Ботев", "Черно море",
                                   "Арда",   "Етър", "Хебър",  "Спартак",   "Пирин", "Марек", "Дунав"};
    return QStringLiteral("%1 %2").arg(stems[i % stems.size()]).arg(i);
}

void FillClubs(const QString &connection, int rows) {
    QSqlDatabase db = QSqlDatabase::database(connection);
    db.transaction();
    QSqlQuery q(db);
    q.exec(QStringLiteral("DELETE FROM Tims"));
    q.prepare(QStringLiteral("INSERT INTO Tims (Tim, Date, v1, p1, v7, p7) VALUES (?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < rows; ++i) {
        q.addBindValue(ClubName(i));
        q.addBindValue(QStringLiteral("2024-05-01 12:00:00"));
        q.addBindValue(QString::number(i % 4));
        q.addBindValue(QString::number(i % 3));
        q.addBindValue(QString::number(i % 5));
        q.addBindValue(QString::number(i % 2));
        q.exec();
    }
    db.commit();
}

} // namespace

KALVADO_BENCH("clubs: list refill") {
    using namespace kalvado;
    constexpr int kRows = 10000;
    bench::Program program(QStringLiteral("bench_clubs_list"));
    FillClubs(program.ctx.connectionName, kRows);
    ClubListWindow window(program.ctx);

    // Typing a name letter by letter, then clearing it again.
    const QString typed = QStringLiteral("Черно море 9");
    QStringList texts;
    for (int i = 1; i <= typed.size(); ++i)
        texts << typed.left(i);
    texts << QString();
    const auto typeAll = [&] {
        for (const QString &t : texts)
            window.txtFind->setText(t);
    };
    const QString perKey = QStringLiteral("frmNew refill per keystroke, %1 clubs").arg(kRows);
    bench::Report(perKey, bench::MeanMs(5, typeAll) / texts.size(), QStringLiteral("ms"),
                  QStringLiteral("< 15 ms"));
    bench::Report(QStringLiteral("  the same, processor time"), bench::CpuMs(5, typeAll) / texts.size(),
                  QStringLiteral("ms"), QStringLiteral("< 15 ms"));

    // The slowest keystroke: a text every name contains lists all of them.
    int flip = 0;
    const auto listAll = [&] { window.txtFind->setText(++flip % 2 ? QString() : QStringLiteral(" ")); };
    const QString all = QStringLiteral("frmNew refill listing all %1 clubs").arg(kRows);
    bench::Report(all, bench::MeanMs(20, listAll), QStringLiteral("ms"), QStringLiteral("< 15 ms"));
    bench::Report(QStringLiteral("  the same, processor time"), bench::CpuMs(20, listAll),
                  QStringLiteral("ms"), QStringLiteral("< 15 ms"));
}

KALVADO_BENCH("clubs: alphabetical order") {
    using namespace kalvado;
    constexpr int kRows = 10000;
    QStringList names;
    for (int i = 0; i < kRows; ++i) // a small first letter now and then
        names << (i % 3 ? ClubName(i) : ClubName(i).toLower());
    const auto sortAll = [&] {
        QStringList copy = names;
        SortAlphabetically(copy);
    };
    // Paid once, by the first refill after the program started.
    bench::Report(QStringLiteral("sort of %1 club names (Bulgarian collation)").arg(kRows),
                  bench::MeanMs(10, sortAll), QStringLiteral("ms"), QStringLiteral("< 15 ms"));
    bench::Report(QStringLiteral("  the same, processor time"), bench::CpuMs(10, sortAll),
                  QStringLiteral("ms"), QStringLiteral("< 15 ms"));

    // What the lists pay after a club is added or deleted: the order is
    // updated in place, not sorted again.
    SortedNames sorted;
    sorted.of(names);
    QStringList grown = names;
    grown << QStringLiteral("арда нова");
    int flip = 0;
    const auto change = [&] { sorted.of(++flip % 2 ? grown : names); };
    bench::Report(QStringLiteral("order kept after a club is added or deleted"), bench::MeanMs(20, change),
                  QStringLiteral("ms"), QStringLiteral("< 15 ms"));
}

KALVADO_BENCH("clubs: record set") {
    using namespace kalvado;
    constexpr int kRows = 100000;
    QTemporaryDir dir;
    Database database(bench::FreshDatabaseCopy(dir.path()), QStringLiteral("bench_clubs_cursor"));
    FillClubs(database.connectionName(), kRows);
    RecordSet cursor(database.connectionName(), QStringLiteral("Tims"));
    cursor.open();
    bench::Report(QStringLiteral("club rows"), cursor.count(), QStringLiteral("rows"),
                  QString::number(kRows));

    const double firstMs = bench::MeanMs(2000, [&] { cursor.first(); });
    bench::Report(QStringLiteral("RecordSet first"), firstMs, QStringLiteral("ms"),
                  QStringLiteral("< 0.2 ms"));

    cursor.first();
    const double nextMs = bench::MeanMs(2000, [&] {
        if (!cursor.next()) cursor.first();
    });
    bench::Report(QStringLiteral("RecordSet next"), nextMs, QStringLiteral("ms"), QStringLiteral("< 0.2 ms"));

    int probe = 0;
    const double findMs = bench::MeanMs(2000, [&] {
        // Names spread over the whole table, the last rows included.
        cursor.findFirst(QStringLiteral("Tim"), ClubName(kRows - 1 - (probe++ * 7919) % kRows));
    });
    bench::Report(QStringLiteral("RecordSet findFirst(Tim, name)"), findMs, QStringLiteral("ms"),
                  QStringLiteral("< 0.2 ms"));
    const double missMs =
        bench::MeanMs(2000, [&] { cursor.findFirst(QStringLiteral("Tim"), QStringLiteral("Няма")); });
    bench::Report(QStringLiteral("RecordSet findFirst, name not held"), missMs, QStringLiteral("ms"),
                  QStringLiteral("< 0.2 ms"));

    qsizetype names = 0;
    const auto scan = [&] { names = cursor.scanColumn(QStringLiteral("Tim")).size(); };
    const double scanMs = bench::MeanMs(10, scan);
    bench::Report(QStringLiteral("RecordSet scan of %1 names").arg(names), scanMs, QStringLiteral("ms"),
                  QStringLiteral("< 30 ms"));
    bench::Report(QStringLiteral("  the same, processor time"), bench::CpuMs(10, scan), QStringLiteral("ms"),
                  QStringLiteral("< 30 ms"));
}
