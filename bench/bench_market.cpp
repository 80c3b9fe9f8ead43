// The comparison with the bookmakers, the export and the upgrade of an older
// file, each at 100,000 archive rows.
#include "bench/bench.h"
#include "gui/archive/archiveexport.h"
#include "gui/archive/marketcomparison.h"
#include "gui/archive/marketcomparisonwindow.h"
#include "storage/database.h"

#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

constexpr int kRows = 100000;

// Row i of a long archive: four in five completed, odds on every row (or on
// every other one) in the form's own shape.
void BindRow(QSqlQuery &q, int i, bool oddsOnHalf) {
    kalvado::bench::BindArchiveRow(q, i);
    const bool odds = !oddsOnHalf || i % 2 == 0;
    const auto price = [odds](int hundredths) {
        return odds ? QVariant(QStringLiteral("%1,%2")
                                   .arg(hundredths / 100)
                                   .arg(hundredths % 100, 2, 10, QChar(u'0')))
                    : QVariant();
    };
    q.addBindValue(price(110 + i % 400));
    q.addBindValue(price(280 + i % 150));
    q.addBindValue(price(150 + (i * 13) % 500));
    q.addBindValue(QStringLiteral("2026-12-08 10:%1:00").arg(i % 60, 2, 10, QChar(u'0')));
}

const QString kInsert =
    QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG, k1, kX, k2, Created) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

} // namespace

KALVADO_BENCH("market") {
    using namespace kalvado;
    bench::Program program(QStringLiteral("bench_market"));
    program.fill(kInsert, kRows, [](QSqlQuery &q, int i) { BindRow(q, i, false); });

    QString compared;
    // Built, laid out and painted once, chart included, as on the screen.
    const auto open = [&] {
        auto *w = program.windows.get<MarketComparisonWindow>(WindowId::Pazar);
        w->grab();
        compared = w->lblCompared->text();
        delete w;
    };
    const QString what = QStringLiteral("open comparison with chart (%1 of 100000 rows)");
    open(); // the file into the cache, as after the archive was shown
    bench::Report(what.arg(compared), bench::MeanMs(10, open), QStringLiteral("ms"),
                  QStringLiteral("< 150 ms"));
    bench::Report(QStringLiteral("the same in processor time"), bench::CpuMs(10, open), QStringLiteral("ms"),
                  QStringLiteral("< 150 ms"));
    bench::Report(QStringLiteral("of which the query and its counting"),
                  bench::CpuMs(10, [&] { CompareWithMarket(program.ctx.connectionName); }),
                  QStringLiteral("ms"), QStringLiteral("-"));
}

KALVADO_BENCH("export") {
    using namespace kalvado;
    bench::Program program(QStringLiteral("bench_export"));
    // Odds on half the rows; some names that need quoting.
    program.fill(kInsert, kRows, [](QSqlQuery &q, int i) { BindRow(q, i, true); });
    QSqlQuery(QSqlDatabase::database(program.ctx.connectionName))
        .exec(QStringLiteral("UPDATE KD SET Dom = Dom || '; \"клуб\"' WHERE Nom % 10 = 0"));
    const QString path = program.dir.filePath(QStringLiteral("архив.csv"));
    int rows = 0;
    QString error;
    const double ms =
        bench::MeanMs(5, [&] { error = ExportArchiveCsv(program.ctx.connectionName, path, &rows); });
    bench::Report(QStringLiteral("export to CSV (%1 rows, %2 MB%3)")
                      .arg(rows)
                      .arg(QFileInfo(path).size() / 1e6, 0, 'f', 1)
                      .arg(error.isEmpty() ? QString() : QStringLiteral(", FAILED")),
                  ms, QStringLiteral("ms"), QStringLiteral("< 1000 ms"));
}

KALVADO_BENCH("upgrade") {
    using namespace kalvado;
    QTemporaryDir dir;
    // An archive as the previous release kept it: no odds columns.
    const QString model = dir.filePath(QStringLiteral("old.mdb"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_old"));
        db.setDatabaseName(model);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral(
            "CREATE TABLE Tims (Tim TEXT, Date TEXT, v1 TEXT, p1 TEXT, v2 TEXT, p2 TEXT, v3 TEXT, "
            "p3 TEXT, v4 TEXT, p4 TEXT, v5 TEXT, p5 TEXT, v6 TEXT, p6 TEXT, v7 TEXT, p7 TEXT)"));
        q.exec(QStringLiteral("CREATE TABLE KD (Nom INTEGER, Dom TEXT, Gost TEXT, proD TEXT, proG TEXT, resD "
                              "TEXT, resG TEXT)"));
        db.transaction();
        q.prepare(QStringLiteral("INSERT INTO KD VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kRows; ++i) {
            q.addBindValue(i);
            q.addBindValue(kalvado::bench::ArchiveClubs()[i % kalvado::bench::ArchiveClubs().size()]);
            q.addBindValue(kalvado::bench::ArchiveClubs()[(i + 5) % kalvado::bench::ArchiveClubs().size()]);
            q.addBindValue(QString::number(i % 4));
            q.addBindValue(QString::number(i % 3));
            q.addBindValue(QString::number(i % 5));
            q.addBindValue(QString::number(i % 2));
            q.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_old"));
    const QString path = dir.filePath(QStringLiteral("KD2.mdb"));
    int n = 0;
    bool upgraded = true;
    double total = 0;
    constexpr int kRepeats = 10;
    for (int r = 0; r < kRepeats; ++r) {
        QFile::remove(path);
        QFile::copy(model, path);
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        total += bench::MeanMs(1, [&] {
            Database db(path, QStringLiteral("bench_upgrade%1").arg(n++));
            QSqlQuery q(QSqlDatabase::database(db.connectionName()));
            upgraded = upgraded && db.isOpen() && q.exec(QStringLiteral("SELECT count(Created) FROM KD"));
        });
    }
    bench::Report(QStringLiteral("open and upgrade an older file of 100000 rows%1")
                      .arg(upgraded ? QString() : QStringLiteral(" (FAILED)")),
                  total / kRepeats, QStringLiteral("ms"), QStringLiteral("< 200 ms"));
}
