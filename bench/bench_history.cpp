// The match history: importing a hundred season files, "Попълни" and the
// replay of the formula, at the sizes a user with many leagues reaches.
#include "bench/bench.h"
#include "gui/history/filldialog.h"
#include "gui/history/historywindow.h"
#include "gui/prognosis_form/formhistoryboxes.h"
#include "gui/prognosis_form/prognosisform.h"
#include "history/historystore.h"
#include "history/matchfile.h"
#include "history/replay.h"

#include <QDateEdit>
#include <QLineEdit>

namespace {

const QStringList kLeagues{"E0", "E1", "D1", "I1", "SP1"};
constexpr int kSeasons = 20;

// One season of a 20-club league in the site's main-league format: a double
// round of 38 weekly rounds, with the market's average odds.
QByteArray SeasonFile(const QString &league, int startYear) {
    QByteArray csv = "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,AvgH,AvgD,AvgA\r\n";
    const int n = 20;
    const QDate start(startYear, 8, 10);
    int serial = startYear * 7;
    for (int round = 0; round < 38; ++round) {
        for (int i = 0; i < n / 2; ++i) {
            const auto at = [&](int k) { return k == 0 ? n - 1 : (k - 1 + round % 19) % (n - 1); };
            int a = at(i);
            int b = at(n - 1 - i);
            if (round >= 19) std::swap(a, b);
            ++serial;
            const QString line =
                QStringLiteral("%1,%2,15:00,%1 Club %3,%1 Club %4,%5,%6,H,%7,3.40,%8\r\n")
                    .arg(league, start.addDays(7 * round).toString(QStringLiteral("dd/MM/yyyy")))
                    .arg(a)
                    .arg(b)
                    .arg(serial * 7 % 4)
                    .arg(serial * 5 % 3)
                    .arg(QStringLiteral("%1.%2").arg(1 + serial % 3).arg(serial % 90 + 10))
                    .arg(QStringLiteral("%1.%2").arg(2 + serial % 4).arg(serial % 9));
            csv += line.toUtf8();
        }
    }
    return csv;
}

QList<QByteArray> SeasonFiles() {
    QList<QByteArray> files;
    for (const QString &league : kLeagues)
        for (int s = 0; s < kSeasons; ++s)
            files << SeasonFile(league, 2004 + s);
    return files;
}

void ImportAll(const QString &connection, const QList<QByteArray> &files) {
    kalvado::HistoryStore store(connection);
    for (qsizetype i = 0; i < files.size(); ++i)
        store.Import(kalvado::ReadMatchFile(files.at(i), QStringLiteral("file%1.csv").arg(i)));
}

} // namespace

KALVADO_BENCH("history import") {
    using namespace kalvado;
    const QList<QByteArray> files = SeasonFiles();
    int n = 0;
    const double ms = bench::MeanMs(3, [&] {
        bench::Program program(QStringLiteral("bench_import%1").arg(n++));
        ImportAll(program.ctx.connectionName, files);
    });
    bench::Report(QStringLiteral("read and import 100 season files (38000 matches)"), ms,
                  QStringLiteral("ms"), QStringLiteral("< 3000 ms"));
}

KALVADO_BENCH("history fill and replay") {
    using namespace kalvado;
    bench::Program program(QStringLiteral("bench_fill"));
    QList<QByteArray> files = SeasonFiles();
    for (int s = 0; s < 6; ++s) // 106 seasons: 40,280 matches
        files << SeasonFile(QStringLiteral("F1"), 2018 + s);
    ImportAll(program.ctx.connectionName, files);
    const HistoryStore store(program.ctx.connectionName);

    auto *form = program.windows.get<PrognosisForm>(WindowId::Pro);
    form->txtDom->setText(QStringLiteral("E0 Club 3"));
    form->txtGost->setText(QStringLiteral("E0 Club 11"));
    HistoryFillDialog *dialog =
        ShowHistoryFill(program.ctx, std::make_unique<FormHistoryBoxes>(*form, &program.windows), form);
    dialog->dateD->setDate(QDate(2020, 3, 1));
    bench::Report(QStringLiteral("\"Попълни\" at %1 history rows").arg(store.AllMatches().size()),
                  bench::MeanMs(20, [&] { dialog->Fill(); }), QStringLiteral("ms"),
                  QStringLiteral("< 50 ms"));
    delete dialog;

    // Built, laid out and painted once, as on the screen.
    bench::Report(
        QStringLiteral("open \"История на мачовете\" at %1 history rows").arg(store.AllMatches().size()),
        bench::MeanMs(5,
                      [&] {
                          auto *w = new HistoryWindow(program.ctx);
                          w->grab();
                          delete w;
                      }),
        QStringLiteral("ms"), QStringLiteral("< 200 ms"));

    QList<MatchRow> all;
    const double loadMs = bench::MeanMs(3, [&] { all = store.AllMatches(); });
    bench::Report(QStringLiteral("load all %1 matches for the replay").arg(all.size()), loadMs,
                  QStringLiteral("ms"), QStringLiteral("(part of the run)"));
    const MatchIndex index(all);
    QStringList ten;
    for (int s = 0; s < 10; ++s)
        ten << SeasonOf(QDate(2010 + s, 9, 1));
    int replayed = 0;
    const double oneLeague = bench::MeanMs(3, [&] {
        Replay replay(index, QStringLiteral("E0"), ten, {});
        replay.Step(1 << 30);
        replayed = replay.Result().totals.replayed;
    });
    bench::Report(QStringLiteral("replay 10 seasons of one league (3800 matches, %1 replayed)").arg(replayed),
                  oneLeague, QStringLiteral("ms"), QStringLiteral("< 500 ms"));
    int matches = 0;
    const double acrossLeagues = bench::MeanMs(2, [&] {
        matches = 0;
        for (const QString &league : kLeagues) {
            QStringList seasons;
            for (int s = 0; s < 11; ++s)
                seasons << SeasonOf(QDate(2008 + s, 9, 1));
            Replay replay(index, league, seasons, {});
            replay.Step(1 << 30);
            matches += replay.Result().totals.matches;
        }
    });
    bench::Report(QStringLiteral("replay %1 matches across five leagues").arg(matches), acrossLeagues,
                  QStringLiteral("ms"), QStringLiteral("< 2000 ms"));
}
