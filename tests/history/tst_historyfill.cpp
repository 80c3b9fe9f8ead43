#include "history/historyfill.h"

#include <QTest>

using namespace kalvado;

namespace {

// "2024-01-10 E0 2023/24 Home|Away 2:1 1.85/3.4/4.2"; "-:-" is not yet played.
MatchRow Row(const QString &line) {
    const QStringList f = line.split(u' ');
    MatchRow r;
    r.date = QDate::fromString(f.at(0), Qt::ISODate);
    r.league = f.at(1);
    r.season = f.at(2);
    const QStringList clubs = f.at(3).split(u'|');
    r.home = clubs.at(0);
    r.away = clubs.at(1);
    const QStringList goals = f.at(4).split(u':');
    if (goals.at(0) != u'-') {
        r.homeGoals = goals.at(0).toInt();
        r.awayGoals = goals.at(1).toInt();
    }
    if (f.size() > 5) {
        const QStringList odds = f.at(5).split(u'/');
        r.oddsH = odds.at(0);
        r.oddsD = odds.at(1);
        r.oddsA = odds.at(2);
        r.oddsFrom = QStringLiteral("Avg");
    }
    return r;
}

MatchIndex Index(const QStringList &lines) {
    QList<MatchRow> rows;
    for (const QString &l : lines)
        rows << Row(l);
    return MatchIndex(rows);
}

// The boxes as one text: "s:c s:c ..." with "_" for a box left as it is.
QString Boxes(const std::array<std::optional<QString>, 8> &scored,
              const std::array<std::optional<QString>, 8> &conceded) {
    QStringList out;
    for (size_t i = 0; i < 8; ++i)
        out << scored[i].value_or(QStringLiteral("_")) + u':' + conceded[i].value_or(QStringLiteral("_"));
    return out.join(u' ');
}

QString Opt(const std::optional<QString> &v) {
    return v.value_or(QStringLiteral("_"));
}

} // namespace

class TestHistoryFill final : public QObject {
    Q_OBJECT

private slots:
    void results_data();
    void results();
    void headToHead_data();
    void headToHead();
    void places_data();
    void places();
    void odds_data();
    void odds();
    void exclusions();
    void applyWritesInFormOrder();
};

void TestHistoryFill::results_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("sixMatch");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("found");

    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("2024-0%1-01 E0 s A|B %2:0")
                   .arg(i < 10 ? QString::number(i) : QStringLiteral("9"))
                   .arg(i);
    ten[9] = QStringLiteral("2024-09-20 E0 s B|A 1:7"); // away: own side is the second number
    QTest::newRow("last eight, oldest first, own side")
        << ten << "2024-10-01" << false << "3:0 4:0 5:0 6:0 7:0 8:0 9:0 7:1" << 8;
    QTest::newRow("six-match: last six into 2..7")
        << ten << "2024-10-01" << true << "_:_ _:_ 5:0 6:0 7:0 8:0 9:0 7:1" << 6;
    QTest::newRow("fewer: most recent at the end, the rest emptied")
        << QStringList{"2023-06-01 E1 s A|C 1:1", "2023-06-02 E1 s C|A 2:0", "2024-02-01 E0 s A|B 3:2"}
        << "2024-06-01" << false << ": : : : : 1:1 0:2 3:2" << 3;
    QTest::newRow("year window: a year ago counts, a day more and D itself do not")
        << QStringList{"2023-05-31 E0 s A|B 9:9", "2023-06-01 E0 s A|B 1:0", "2024-06-01 E0 s A|B 5:5",
                       "2024-05-30 E0 s A|B -:-"}
        << "2024-06-01" << false << ": : : : : : : 1:0" << 1;
    QTest::newRow("29 February: the window opens on 28 February")
        << QStringList{"2023-02-27 E0 s A|B 9:9", "2023-02-28 E0 s A|B 2:0"} << "2024-02-29" << false
        << ": : : : : : : 2:0" << 1;
}

void TestHistoryFill::results() {
    QFETCH(QStringList, rows);
    QFETCH(QString, date);
    QFETCH(bool, sixMatch);
    QFETCH(QString, boxes);
    QFETCH(int, found);
    FillOptions options;
    options.sixMatch = sixMatch;
    const FillPlan plan = PlanFill(Index(rows), QStringLiteral("A"), QStringLiteral("B"),
                                   QStringLiteral("E0"), QDate::fromString(date, Qt::ISODate), options);
    QCOMPARE(Boxes(plan.homeScored, plan.homeConceded), boxes);
    QCOMPARE(plan.homeMatches, found);
}

void TestHistoryFill::headToHead_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("wins");

    QTest::newRow("either venue, any league, draws count for nobody")
        << QStringList{"2020-01-01 E0 s A|B 2:0", "2021-01-01 FA s B|A 3:1", "2022-01-01 E1 s B|A 0:1",
                       "2022-02-01 E0 s A|B 1:1", "2022-03-01 E0 s A|C 5:0"}
        << "2024-01-01"
        << "2:1";
    QTest::newRow("ten years back to the same day; D itself never")
        << QStringList{"2014-01-01 E0 s A|B 1:0", "2013-12-31 E0 s A|B 1:0", "2024-01-01 E0 s B|A 1:0"}
        << "2024-01-01"
        << "1:0";
    QTest::newRow("29 February goes to 28 February")
        << QStringList{"2014-02-28 E0 s B|A 1:0", "2014-02-27 E0 s B|A 1:0"} << "2024-02-29"
        << "0:1";
    QTest::newRow("no meetings") << QStringList{"2020-01-01 E0 s A|C 1:0"} << "2024-01-01"
                                 << "0:0";
}

void TestHistoryFill::headToHead() {
    QFETCH(QStringList, rows);
    QFETCH(QString, date);
    QFETCH(QString, wins);
    const FillPlan plan = PlanFill(Index(rows), QStringLiteral("A"), QStringLiteral("B"),
                                   QStringLiteral("E0"), QDate::fromString(date, Qt::ISODate), {});
    QCOMPARE(Opt(plan.homeWins) + u':' + Opt(plan.guestWins), wins);
}

void TestHistoryFill::places_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("places");

    // Points, then goal difference, then goals scored, then the name.
    const QStringList season{
        "2023-08-10 E0 2023/24 A|X 1:0", // A 3 pts +1
        "2023-08-11 E0 2023/24 B|Y 3:2", // B 3 pts +1, more goals than A
        "2023-08-12 E0 2023/24 C|Z 2:0", // C 3 pts +2
        "2023-08-13 E0 2023/24 Y|X 0:0", // X, Y, Z, W behind
        "2023-08-14 E0 2023/24 W|Z 1:1",
    };
    QTest::newRow("ties: difference, scored, name") << season << "2023-09-01"
                                                    << "3:2";
    QTest::newRow("only matches before D") << season << "2023-08-12"
                                           << "2:1";
    QStringList twoSeasons = season;
    twoSeasons << "2024-08-10 E0 2024/25 B|A 0:4"
               << "2024-08-11 E0 2024/25 C|X -:-";
    QTest::newRow("D's season is the latest that started on or before D") << twoSeasons << "2024-09-01"
                                                                          << "1:2";
    QTest::newRow("a club without a match in the season keeps its box") << twoSeasons << "2024-08-10"
                                                                        << "_:_";
    QTest::newRow("equal on everything: name in code order")
        << QStringList{"2023-08-10 E0 s B|X 1:1", "2023-08-10 E0 s A|Y 1:1"} << "2023-09-01"
        << "1:2";
}

void TestHistoryFill::places() {
    QFETCH(QStringList, rows);
    QFETCH(QString, date);
    QFETCH(QString, places);
    const FillPlan plan = PlanFill(Index(rows), QStringLiteral("A"), QStringLiteral("B"),
                                   QStringLiteral("E0"), QDate::fromString(date, Qt::ISODate), {});
    QCOMPARE(Opt(plan.homePlace) + u':' + Opt(plan.guestPlace), places);
}

void TestHistoryFill::odds_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("outOfRange");

    QTest::newRow("point to comma, as typed") << "1.85/3.4/4.2"
                                              << "1,85 3,40 4,20" << false;
    QTest::newRow("tidied as the box tidies") << "2/12.55/1.855"
                                              << "2,00 12,5 1,85" << false;
    QTest::newRow("out of range not written") << "1.005/6.5/55"
                                              << "_ 6,50 _" << true;
    QTest::newRow("a comma in the file") << "1,5/3,25/7"
                                         << "1,50 3,25 7,00" << false;
}

void TestHistoryFill::odds() {
    QFETCH(QString, stored);
    QFETCH(QString, written);
    QFETCH(bool, outOfRange);
    const MatchIndex index = Index({QStringLiteral("2024-05-01 E0 s A|B -:- ") + stored});
    const FillPlan plan = PlanFill(index, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("E0"),
                                   QDate(2024, 5, 1), {});
    QCOMPARE(QStringList({Opt(plan.odds1), Opt(plan.oddsX), Opt(plan.odds2)}).join(u' '), written);
    QCOMPARE(plan.oddsOutOfRange, outOfRange);
    // Another date, another league or the clubs the other way round: no such match.
    for (const auto &[league, home, away, day] :
         {std::tuple{"E1", "A", "B", 1}, std::tuple{"E0", "B", "A", 1}, std::tuple{"E0", "A", "B", 2}}) {
        const FillPlan none = PlanFill(index, QString::fromLatin1(home), QString::fromLatin1(away),
                                       QString::fromLatin1(league), QDate(2024, 5, day), {});
        QVERIFY(!none.odds1 && !none.oddsX && !none.odds2);
    }
}

void TestHistoryFill::exclusions() {
    const MatchIndex index =
        Index({"2023-08-10 E0 2023/24 A|B 1:0 2/3/4", "2023-09-10 E0 2023/24 A|B 1:0 2/3/4"});
    FillOptions options;
    options.headToHead = false;
    options.places = false;
    options.oddsAnnounced = false;
    FillPlan plan = PlanFill(index, "A", "B", "E0", QDate(2023, 9, 10), options);
    QVERIFY(!plan.homeWins && !plan.guestWins && !plan.homePlace && !plan.guestPlace && !plan.odds1);
    QCOMPARE(plan.homeScored[7], QStringLiteral("1"));
    options = {};
    options.cup = true;
    plan = PlanFill(index, "A", "B", "E0", QDate(2023, 9, 10), options);
    QVERIFY(!plan.homePlace && !plan.guestPlace);
    QCOMPARE(Opt(plan.homeWins), QStringLiteral("1"));
    QCOMPARE(Opt(plan.odds1), QStringLiteral("2,00"));
    QCOMPARE(plan.Summary(QStringLiteral("Англия – Висша лига")),
             QStringLiteral("Англия – Висша лига, мачове до 10.09.2023: резултати 1 и 1; срещи 1:0 за 10 "
                            "години; коефициенти 2,00 3,00 4,00\nНе е попълнено: A: 1 мач в годината преди "
                            "10.09.2023; B: 1 мач в годината преди 10.09.2023"));
}

void TestHistoryFill::applyWritesInFormOrder() {
    struct Log final : FillTarget {
        QStringList writes;
        void setBoxText(Box box, int index, const QString &text) override {
            writes << QStringLiteral("%1.%2=%3").arg(int(box)).arg(index).arg(text);
        }
    } log;
    FillPlan plan;
    plan.homeScored[7] = QStringLiteral("2");
    plan.guestConceded[0] = QString();
    plan.guestWins = QStringLiteral("3");
    plan.odds2 = QStringLiteral("4,20");
    ApplyFill(plan, log);
    QCOMPARE(log.writes, QStringList({"0.7=2", "3.0=", "5.0=3", "10.0=4,20"}));
}

QTEST_GUILESS_MAIN(TestHistoryFill)
#include "tst_historyfill.moc"
