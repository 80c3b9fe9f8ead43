#include "history/replay.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvado;

namespace {

// Two seasons of a ten-club league, a double round of 18 weekly rounds each,
// with goals and odds that vary from match to match.
QList<MatchRow> League() {
    QList<MatchRow> rows;
    const int n = 10;
    int serial = 0;
    for (int season = 0; season < 2; ++season) {
        const QDate start(2022 + season, 8, 6 - season);
        for (int round = 0; round < 18; ++round) {
            for (int i = 0; i < n / 2; ++i) {
                // The circle method: club 9 stays, the others turn; the
                // second half repeats the first with the venues swapped.
                const auto at = [&](int k) { return k == 0 ? n - 1 : (k - 1 + round % 9) % (n - 1); };
                const int a = at(i);
                const int b = at(n - 1 - i);
                const bool swap = round >= 9;
                MatchRow r;
                r.league = QStringLiteral("E0");
                r.season = season == 0 ? QStringLiteral("2022/23") : QStringLiteral("2023/24");
                r.date = start.addDays(7 * round);
                r.home = QStringLiteral("C%1").arg(swap ? b : a);
                r.away = QStringLiteral("C%1").arg(swap ? a : b);
                ++serial;
                r.homeGoals = serial * 7 % 4;
                r.awayGoals = serial * 5 % 3;
                r.oddsH = QStringLiteral("%1.%2").arg(1 + serial % 3).arg(serial % 10 * 10 + 5);
                r.oddsD = QStringLiteral("3.4");
                r.oddsA = QStringLiteral("%1.1").arg(2 + serial % 4);
                rows << r;
            }
        }
    }
    return rows;
}

MatchRow &At(QList<MatchRow> &rows, const QString &season, int round, int i) {
    return rows[(season == QLatin1String("2022/23") ? 0 : 90) + round * 5 + i];
}

} // namespace

class TestReplay final : public QObject {
    Q_OBJECT

private slots:
    void leftOutAndCounts();
    void favourite_data();
    void favourite();
    void inputsAsTheFormFills();
    void exportFile();
};

void TestReplay::leftOutAndCounts() {
    QList<MatchRow> rows = League();
    At(rows, "2023/24", 3, 0).oddsH.clear();                // no odds
    At(rows, "2023/24", 4, 1).oddsA = QStringLiteral("55"); // out of range
    At(rows, "2023/24", 5, 2).homeGoals.reset();            // not played: not counted
    At(rows, "2023/24", 5, 2).awayGoals.reset();
    const MatchIndex index(rows);
    Replay replay(index, "E0", {"2022/23", "2023/24"}, {});
    QCOMPARE(replay.total(), 179);
    QVERIFY(!replay.Step(100));
    QVERIFY(replay.Step(1000));
    const ReplayResult r = replay.Result();
    const ReplayTotals &t = r.totals;
    QCOMPARE(t.matches, 179);
    // Every club plays once a week: before round 8 nobody has 8 matches in the year.
    QCOMPARE(t.leftOut[size_t(ReplayLeftOut::FewMatches)], 40);
    QCOMPARE(t.leftOut[size_t(ReplayLeftOut::NoOdds)], 1);
    QCOMPARE(t.leftOut[size_t(ReplayLeftOut::OddsOutOfRange)], 1);
    QCOMPARE(t.leftOut[size_t(ReplayLeftOut::EngineFailed)], 0);
    QCOMPARE(t.replayed, 179 - 42);
    QCOMPARE(r.bySeason.size(), 2);
    QCOMPARE(r.bySeason[0].totals.replayed, 50);
    QCOMPARE(r.bySeason[1].totals.matches, 89);
    QCOMPARE(r.bySeason[1].totals.replayed, 87);
    QCOMPARE(r.formulaCurve.size(), size_t(t.replayed));

    // The counts add up, and "always 1" and the favourite are counted from
    // the held odds as a bettor would.
    int calls = 0;
    int table = 0;
    __int128 home = 0;
    __int128 formula = 0;
    int favouriteHits = 0;
    for (int i = 0; i < 3; ++i) {
        calls += t.calls[size_t(i)];
        for (int j = 0; j < 3; ++j)
            table += t.table[size_t(i)][size_t(j)];
    }
    for (const ReplayMatch &m : r.matches) {
        if (m.leftOut != ReplayLeftOut::None) continue;
        const bool homeWon = *m.row.homeGoals > *m.row.awayGoals;
        home += homeWon ? *OddsTicks(m.row.oddsH) - 10000 : -10000;
        formula += *m.profit;
        favouriteHits += m.favourite == m.real;
    }
    QCOMPARE(calls, t.replayed);
    QCOMPARE(table, t.replayed);
    QVERIFY(t.homeProfit == home);
    QVERIFY(t.formulaProfit == formula);
    QCOMPARE(t.favouriteHits, favouriteHits);
    QCOMPARE(r.formulaCurve.back(), double(formula) / 10000);
}

void TestReplay::favourite_data() {
    QTest::addColumn<QString>("odds");
    QTest::addColumn<QString>("favourite");
    QTest::newRow("lowest") << "2.5/3.2/1.9"
                            << "2";
    QTest::newRow("tie of all three goes to 1") << "3/3/3"
                                                << "1";
    QTest::newRow("tie of X and 2 goes to X") << "4/2.50/2.5"
                                              << "X";
    QTest::newRow("tie of 1 and 2 goes to 1") << "2.1/3/2.10"
                                              << "1";
}

void TestReplay::favourite() {
    QFETCH(QString, odds);
    QFETCH(QString, favourite);
    QList<MatchRow> rows = League();
    MatchRow &m = At(rows, "2023/24", 10, 0);
    const QStringList o = odds.split(u'/');
    m.oddsH = o[0];
    m.oddsD = o[1];
    m.oddsA = o[2];
    const MatchIndex index(rows);
    Replay replay(index, "E0", {"2023/24"}, {});
    replay.Step(1000);
    const ReplayMatch &r = replay.Result().matches.at(50);
    QCOMPARE(r.row.date, m.date);
    QCOMPARE(SignText(*r.favourite), favourite);
}

void TestReplay::inputsAsTheFormFills() {
    QList<MatchRow> rows = League();
    MatchRow &m = At(rows, "2023/24", 10, 0);
    // A match of the same day elsewhere never feeds the inputs.
    MatchRow sameDay = m;
    sameDay.league = QStringLiteral("FA");
    sameDay.away = QStringLiteral("Other");
    sameDay.homeGoals = 9;
    rows << sameDay;
    const MatchIndex index(rows);
    Replay replay(index, "E0", {"2023/24"}, {{m.home, QStringLiteral("Ливърпул")}});
    replay.Step(1000);
    const ReplayMatch &r = replay.Result().matches.at(50);
    const FillPlan plan = PlanFill(index, m.home, m.away, "E0", m.date, {});
    QCOMPARE(r.homeUsed, QStringLiteral("Ливърпул"));
    QCOMPARE(r.guestUsed, m.away);
    QCOMPARE(r.inputs.homeName, QStringLiteral("Ливърпул"));
    QCOMPARE(r.inputs.shansDom, QStringLiteral("1,845"));
    QCOMPARE(r.inputs.shansGost, QStringLiteral("1,825"));
    for (size_t i = 0; i < 8; ++i) {
        QCOMPARE(r.inputs.home.scored[i], *plan.homeScored[i]);
        QCOMPARE(r.inputs.guest.conceded[i], *plan.guestConceded[i]);
        QVERIFY(r.inputs.home.scored[i] != QLatin1String("9"));
    }
    QCOMPARE(r.inputs.homeWins, *plan.homeWins);
    QCOMPARE(r.inputs.homePlace, *plan.homePlace);
    QCOMPARE(r.inputs.k1, *plan.odds1);
    QVERIFY(r.prognosis.has_value());
    QCOMPARE(r.prognosis->sign, ComputePrognosis(r.inputs)->sign);
}

void TestReplay::exportFile() {
    QList<MatchRow> rows = League();
    for (MatchRow &r : rows)
        if (r.home == QLatin1String("C1")) r.home = QStringLiteral("Club; \"One\"");
    const MatchIndex index(rows);
    Replay replay(index, "E0", {"2022/23"}, {});
    replay.Step(1000);
    QTemporaryDir dir;
    const QString path = dir.filePath("replay.csv");
    QCOMPARE(ExportReplayCsv(replay.Result(), path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = bytes.mid(3).split('\n');
    QCOMPARE(lines.size(), 92); // header, 90 matches, the empty end
    QCOMPARE(ReplayCsvHeader().size(), 55);
    for (const ReplayMatch &m : replay.Result().matches)
        QCOMPARE(ReplayCsvFields(m).size(), 55);
    QVERIFY(bytes.contains("\"Club; \"\"One\"\"\""));
    // A left-out match: its reason, no prediction; a replayed one: its profit.
    const QStringList first = ReplayCsvFields(replay.Result().matches.first());
    QCOMPARE(first.at(54), ReplayLeftOutText(ReplayLeftOut::FewMatches));
    QVERIFY(first.at(46).isEmpty() && first.at(53).isEmpty());
    for (const ReplayMatch &m : replay.Result().matches) {
        if (m.leftOut != ReplayLeftOut::None) continue;
        const QStringList f = ReplayCsvFields(m);
        QVERIFY(f.at(54).isEmpty());
        const QString held = m.real == Sign::Home   ? m.row.oddsH
                             : m.real == Sign::Draw ? m.row.oddsD
                                                    : m.row.oddsA;
        const double profit =
            f.at(53) == QLatin1String("-1,00") ? -1 : QString(f.at(53)).replace(u',', u'.').toDouble();
        QCOMPARE(profit, f.at(48) == f.at(51) ? held.toDouble() - 1 : -1.0);
    }
    QVERIFY(ExportReplayCsv(replay.Result(), dir.filePath("no/such/folder/x.csv")).contains("не може"));
}

QTEST_GUILESS_MAIN(TestReplay)
#include "tst_replay.moc"
