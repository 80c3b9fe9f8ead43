// The match history in KD2.mdb: importing files whole or not at all, the
// re-import rules, the league summary and the club links.
#include "history/historystore.h"
#include "storage/database.h"
#include "support/testenv.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace kalvado;
using kalvado::test::TestEnv;

namespace {

// "E0|2024-08-17|Arsenal|Wolves|2-0|1.50/4.20/6.00/Avg|15:00": goals, odds
// and time may be empty.
MatchRow Row(const QString &text) {
    const QStringList f = text.split(u'|');
    MatchRow r;
    r.league = f.at(0);
    r.date = QDate::fromString(f.at(1), Qt::ISODate);
    const int start = r.date.month() >= 7 ? r.date.year() : r.date.year() - 1;
    r.season = QStringLiteral("%1/%2").arg(start).arg((start + 1) % 100, 2, 10, QLatin1Char('0'));
    r.home = f.at(2);
    r.away = f.at(3);
    if (!f.at(4).isEmpty()) {
        r.homeGoals = f.at(4).section(u'-', 0, 0).toInt();
        r.awayGoals = f.at(4).section(u'-', 1, 1).toInt();
    }
    if (!f.at(5).isEmpty()) {
        const QStringList odds = f.at(5).split(u'/');
        r.oddsH = odds.at(0);
        r.oddsD = odds.at(1);
        r.oddsA = odds.at(2);
        r.oddsFrom = odds.at(3);
    }
    r.time = f.value(6);
    return r;
}

QString Text(const MatchRow &r) {
    const QString goals =
        r.played() ? QStringLiteral("%1-%2").arg(*r.homeGoals).arg(*r.awayGoals) : QString();
    const QString odds =
        r.oddsH.isEmpty() ? QString() : QStringList{r.oddsH, r.oddsD, r.oddsA, r.oddsFrom}.join(u'/');
    return QStringList{r.league, r.date.toString(Qt::ISODate), r.home, r.away, goals, odds, r.time}.join(
        u'|');
}

MatchFile File(const QStringList &rows, MatchFileKind kind = MatchFileKind::Main) {
    MatchFile file;
    file.fileName = QStringLiteral("E0.csv");
    file.kind = kind;
    for (const QString &r : rows)
        file.rows << Row(r);
    return file;
}

// Every stored match in Row's form, by date and clubs; NULL reads as empty.
QStringList Stored(const TestEnv &env) {
    QSqlQuery q(QSqlDatabase::database(env.ctx.connectionName));
    q.exec(QStringLiteral("SELECT League, Date, Home, Away, HomeGoals, AwayGoals, OddsH, OddsD, OddsA, "
                          "OddsFrom, Time FROM Matches ORDER BY Date, League, Home"));
    QStringList rows;
    while (q.next()) {
        const QString goals =
            q.value(4).isNull() ? QString() : q.value(4).toString() + u'-' + q.value(5).toString();
        const QString odds = q.value(6).isNull() ? QString()
                                                 : QStringList{q.value(6).toString(), q.value(7).toString(),
                                                               q.value(8).toString(), q.value(9).toString()}
                                                       .join(u'/');
        rows << QStringList{q.value(0).toString(),
                            q.value(1).toString(),
                            q.value(2).toString(),
                            q.value(3).toString(),
                            goals,
                            odds,
                            q.value(10).toString()}
                    .join(u'|');
    }
    return rows;
}

const QString kPlayed = QStringLiteral("E0|2024-08-17|Arsenal|Wolves|2-0|1.50/4.20/6.00/Avg|15:00");
const QString kFixture = QStringLiteral("E0|2024-08-17|Arsenal|Wolves|||");

} // namespace

class TestHistoryStore final : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void import_data();
    void import();
    void refusedWriteChangesNothing_data();
    void refusedWriteChangesNothing();
    void olderReadOnlyFileReadsEmpty();
    void leagues();
    void historyClubFor_data();
    void historyClubFor();
    void linksAndNamesAsTyped();
    void matchesForFill();

private:
    HistoryStore store() const { return HistoryStore(m_env->ctx.connectionName); }
    std::unique_ptr<TestEnv> m_env;
};

void TestHistoryStore::import_data() {
    QTest::addColumn<QStringList>("held");
    QTest::addColumn<bool>("fixtures");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("updated");
    QTest::addColumn<int>("notPlayed");
    QTest::addColumn<QStringList>("after");
    const QString second = QStringLiteral("E0|2024-08-24|Wolves|Chelsea|1-1||");
    const QString coming = QStringLiteral("E0|2024-08-31|Chelsea|Arsenal|||");
    QTest::newRow("new matches") << QStringList() << false << QStringList{kPlayed, second, coming} << 3 << 0
                                 << 1 << QStringList{kPlayed, second, coming};
    QTest::newRow("same file again") << QStringList{kPlayed, second} << false << QStringList{kPlayed, second}
                                     << 0 << 0 << 0 << QStringList{kPlayed, second};
    QTest::newRow("fixture gets its result")
        << QStringList{kFixture} << false << QStringList{kPlayed} << 0 << 1 << 0 << QStringList{kPlayed};
    QTest::newRow("corrected file wins")
        << QStringList{kPlayed} << false
        << QStringList{"E0|2024-08-17|Arsenal|Wolves|2-1|1.55/4.00/6.50/B365|17:30"} << 0 << 1 << 0
        << QStringList{"E0|2024-08-17|Arsenal|Wolves|2-1|1.55/4.00/6.50/B365|17:30"};
    QTest::newRow("older fixtures leave the results")
        << QStringList{kPlayed} << true << QStringList{kFixture} << 0 << 0 << 1 << QStringList{kPlayed};
    QTest::newRow("a value lacking never erases")
        << QStringList{"E0|2024-08-17|Arsenal|Wolves||1.50/4.20/6.00/Avg|15:00"} << false
        << QStringList{"E0|2024-08-17|Arsenal|Wolves|2-0||"} << 0 << 1 << 0 << QStringList{kPlayed};
    // Only the coming matches of the file's leagues go; one listed again keeps
    // what the list lacks and counts as nothing new.
    QTest::newRow("fixtures replace the coming matches of their leagues")
        << QStringList{kPlayed, "E0|2024-09-14|Wolves|Everton||2.10/3.30/3.60/Avg|", coming,
                       "D1|2024-09-14|Bayern Munich|Dortmund|||"}
        << true << QStringList{"E0|2024-09-14|Wolves|Everton|||12:30", "E0|2024-09-21|Everton|Leeds|||"} << 1
        << 1 << 2
        << QStringList{kPlayed, "D1|2024-09-14|Bayern Munich|Dortmund|||",
                       "E0|2024-09-14|Wolves|Everton||2.10/3.30/3.60/Avg|12:30",
                       "E0|2024-09-21|Everton|Leeds|||"};
}

void TestHistoryStore::import() {
    QFETCH(QStringList, held);
    QFETCH(bool, fixtures);
    QFETCH(QStringList, file);
    QFETCH(int, added);
    QFETCH(int, updated);
    QFETCH(int, notPlayed);
    QFETCH(QStringList, after);
    HistoryStore s = store();
    QVERIFY(s.Import(File(held)).error.isEmpty());
    MatchFile f = File(file, fixtures ? MatchFileKind::Fixtures : MatchFileKind::Main);
    f.leftOut = 7;
    f.firstLeftOut = {{3, QStringLiteral("датата не е дата")}};
    const ImportSummary summary = s.Import(f);
    QVERIFY2(summary.error.isEmpty(), qPrintable(summary.error));
    QCOMPARE(summary.fileName, QStringLiteral("E0.csv"));
    QCOMPARE(summary.added, added);
    QCOMPARE(summary.updated, updated);
    QCOMPARE(summary.notPlayed, notPlayed);
    QCOMPARE(summary.leftOut, 7);
    QCOMPARE(summary.firstLeftOut.value(0).reason, QStringLiteral("датата не е дата"));
    QCOMPARE(Stored(*m_env), after);
}

void TestHistoryStore::refusedWriteChangesNothing_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only") << "read-only"
                               << "само за четене";
    QTest::newRow("locked") << "locked"
                            << "зает от друга програма";
    // Refused at the last file's last row, after the coming matches went.
    QTest::newRow("refused midway")
        << "CREATE TRIGGER refuse BEFORE INSERT ON Matches WHEN NEW.Home = 'Leeds' AND NEW.League = 'E1' "
           "BEGIN SELECT RAISE(ABORT, 'no'); END"
        << "не може да бъде записана";
}

void TestHistoryStore::refusedWriteChangesNothing() {
    QFETCH(QString, cause);
    QFETCH(QString, message);
    HistoryStore s = store();
    QVERIFY(s.Import(File({kFixture, "E0|2024-09-14|Wolves|Everton|||"})).error.isEmpty());
    const QStringList before = Stored(*m_env);
    const QList<ClubLink> links = s.Links();
    m_env->refuseWrites(cause);
    // Several files at once are refused whole as well.
    const QList<ImportSummary> summaries =
        s.Import(QList<MatchFile>{File({"E0|2024-09-21|Everton|Chelsea|||"}, MatchFileKind::Fixtures),
                                  File({"E1|2024-09-21|Derby|Leeds|||", "E1|2024-09-28|Leeds|Derby|||"})});
    QCOMPARE(summaries.size(), 2);
    for (const ImportSummary &summary : summaries) {
        QVERIFY2(summary.error.contains(message), qPrintable(summary.error));
        QVERIFY(summary.error.contains(m_env->dbPath()));
        QCOMPARE(summary.added, 0);
    }
    if (cause == QLatin1String("read-only")) {
        QVERIFY(!s.DeleteLeague(QStringLiteral("E0")).isEmpty());
        QVERIFY(!s.SetLink(QStringLiteral("Wolves"), QStringLiteral("Улвс")).isEmpty());
        QCOMPARE(s.Leagues().value(0).matches, 2);
        QCOMPARE(s.Links().size(), links.size());
    }
    m_env->allowWrites();
    QCOMPARE(Stored(*m_env), before);
    QCOMPARE(s.LinkedName(QStringLiteral("Wolves")), std::nullopt);
}

void TestHistoryStore::olderReadOnlyFileReadsEmpty() {
    const QString path = m_env->dir.filePath(QStringLiteral("old.mdb"));
    QFile::copy(QStringLiteral(KALVADO_SOURCE_DIR "/tests/storage/fixtures/KD2-before-odds.mdb"), path);
    Database db(path, QStringLiteral("old"), Database::Access::ReadOnly);
    QVERIFY(db.isOpen());
    HistoryStore s(db.connectionName());
    QVERIFY(s.Leagues().isEmpty());
    QVERIFY(s.Links().isEmpty());
    QVERIFY(s.AllMatches().isEmpty());
    QCOMPARE(s.HistoryClubFor(QStringLiteral("Арсенал")), std::nullopt);
    QCOMPARE(s.LeagueName(QStringLiteral("E0")), QStringLiteral("Англия – Висша лига"));
    QVERIFY(s.Import(File({kPlayed})).error.contains(QStringLiteral("само за четене")));
}

void TestHistoryStore::leagues() {
    HistoryStore s = store();
    // Imported newest season first: seasons still come in the order they began.
    QVERIFY(s.Import(File({"E0|2024-08-17|Arsenal|Wolves|2-0||", "E0|2025-05-25|Wolves|Arsenal|0-0||",
                           "E0|2025-08-16|Arsenal|Chelsea|||"}))
                .error.isEmpty());
    QVERIFY(s.Import(File({"E0|2023-08-12|Arsenal|Wolves|1-0||"})).error.isEmpty());
    MatchFile extra = File({"XYZ|2023-04-01|Malmo FF|AIK|1-1||", "SWE|2023-04-01|Hammarby|AIK|1-0||"},
                           MatchFileKind::Extra);
    extra.leagueNames = {{"XYZ", "Sweden Allsvenskan"}, {"SWE", "Sweden Allsvenskan"}};
    QVERIFY(s.Import(extra).error.isEmpty());
    // A later file without a name keeps the one held.
    QVERIFY(s.Import(File({"XYZ|2023-04-08|AIK|Malmo FF|2-2||"}, MatchFileKind::Extra)).error.isEmpty());

    const QList<LeagueSummary> leagues = s.Leagues();
    QCOMPARE(leagues.size(), 3);
    QCOMPARE(leagues.at(0).code, QStringLiteral("E0"));
    QCOMPARE(leagues.at(0).name, QStringLiteral("Англия – Висша лига"));
    QCOMPARE(leagues.at(0).seasons, (QStringList{"2023/24", "2024/25", "2025/26"}));
    QCOMPARE(leagues.at(0).matches, 4);
    QCOMPARE(leagues.at(0).lastDate, QDate(2025, 5, 25));
    QCOMPARE(leagues.at(1).name, QStringLiteral("Швеция – Алсвенскан"));
    QCOMPARE(leagues.at(2).code, QStringLiteral("XYZ"));
    QCOMPARE(leagues.at(2).name, QStringLiteral("Sweden Allsvenskan"));
    QCOMPARE(leagues.at(2).matches, 2);

    QVERIFY(s.DeleteLeague(QStringLiteral("XYZ")).isEmpty());
    QCOMPARE(s.Leagues().size(), 2);
    QCOMPARE(s.LeagueName(QStringLiteral("XYZ")), QStringLiteral("XYZ"));
    QCOMPARE(s.AllMatches().size(), 5);
}

void TestHistoryStore::historyClubFor_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("history"); // empty: none
    QTest::newRow("default link") << QStringLiteral("Арсенал") << QStringLiteral("Arsenal");
    QTest::newRow("link, other letter case") << QStringLiteral(" арсенал ") << QStringLiteral("Arsenal");
    QTest::newRow("link of a club without matches") << QStringLiteral("ЧЕЛСИ") << QStringLiteral("Chelsea");
    QTest::newRow("history name itself") << QStringLiteral(" Wolves") << QStringLiteral("Wolves");
    QTest::newRow("history name in other case") << QStringLiteral("wolves") << QString();
    QTest::newRow("unknown") << QStringLiteral("Левски") << QString();
}

void TestHistoryStore::historyClubFor() {
    QFETCH(QString, user);
    QFETCH(QString, history);
    HistoryStore s = store();
    QVERIFY(s.Import(File({kPlayed})).error.isEmpty());
    QCOMPARE(s.HistoryClubFor(user).value_or(QString()), history);
}

void TestHistoryStore::linksAndNamesAsTyped() {
    HistoryStore s = store();
    const QString odd = QStringLiteral("O'Neill \"Reds\"; DROP TABLE Matches");
    QVERIFY(s.Import(File({"E0|2024-08-17|" + odd + "|Wolves|||", "E0|2024-08-24|Wolves|" + odd + "|3-0||"}))
                .error.isEmpty());
    QCOMPARE(s.Links().size(), 2);
    QCOMPARE(s.Links().at(0).name, odd);
    QCOMPARE(s.Links().at(1).name, QStringLiteral("Wolves"));
    QVERIFY(s.SetLink(odd, QStringLiteral("  Червените; 'А' ")).isEmpty());
    QCOMPARE(s.LinkedName(odd), QStringLiteral("Червените; 'А'"));
    QCOMPARE(s.HistoryClubFor(QStringLiteral("червените; 'а'")), odd);
    QCOMPARE(s.Links().at(0).tim, QStringLiteral("Червените; 'А'"));
    QCOMPARE(s.NextMatch(odd, QStringLiteral("Wolves"), QDate(2024, 8, 1)).value_or(MatchRow()).home, odd);
    QCOMPARE(s.LatestLeague(odd), QStringLiteral("E0"));
    QVERIFY(s.SetLink(odd, QStringLiteral(" ")).isEmpty());
    QCOMPARE(s.LinkedName(odd), std::nullopt);
    QCOMPARE(s.Links().at(0).tim, QString());
}

void TestHistoryStore::matchesForFill() {
    HistoryStore s = store();
    const QStringList rows{"E1|2024-08-10|Leeds|Derby|1-0||",
                           "E0|2024-08-17|Everton|Arsenal|0-0|2.90/3.10/2.50/B365|12:30",
                           kPlayed,
                           "D1|2024-08-17|Bayern Munich|Dortmund|3-1||",
                           "E0|2024-08-24|Chelsea|Everton|2-2||",
                           "E1|2024-08-31|Wolves|Leeds|||"};
    // Stored in another order than the dates'.
    QVERIFY(s.Import(File({rows.at(0), rows.at(1), rows.at(2), rows.at(3), rows.at(5), rows.at(4)}))
                .error.isEmpty());
    const auto texts = [](const QList<MatchRow> &matches) {
        QStringList t;
        for (const MatchRow &r : matches)
            t << Text(r);
        return t;
    };
    const auto fill = [&](const QDate &d) {
        return texts(
            s.MatchesForFill(QStringLiteral("Arsenal"), QStringLiteral("Leeds"), QStringLiteral("E0"), d));
    };
    // Each once, by date, a day's matches in the order they were stored; none after d.
    QCOMPARE(fill(QDate(2024, 8, 31)),
             (QStringList{rows.at(0), rows.at(1), rows.at(2), rows.at(4), rows.at(5)}));
    QCOMPARE(fill(QDate(2024, 8, 20)), (QStringList{rows.at(0), rows.at(1), rows.at(2)}));
    QCOMPARE(texts(s.AllMatches()), rows);
    QCOMPARE(s.AllMatches().at(0).season, QStringLiteral("2024/25"));
    // Played matches decide the league before a later coming one.
    QCOMPARE(s.LatestLeague(QStringLiteral("Wolves")), QStringLiteral("E0"));
    QCOMPARE(s.NextMatch(QStringLiteral("Wolves"), QStringLiteral("Leeds"), QDate(2024, 8, 31))
                 .value_or(MatchRow())
                 .league,
             QStringLiteral("E1"));
    QCOMPARE(s.NextMatch(QStringLiteral("Wolves"), QStringLiteral("Leeds"), QDate(2024, 9, 1)), std::nullopt);
}

QTEST_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
