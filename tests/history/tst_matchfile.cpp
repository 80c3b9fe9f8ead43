#include "history/matchfile.h"

#include <QFile>
#include <QTest>

using namespace kalvado;

namespace {

QByteArray Sample(const QString &name) {
    QFile file(QStringLiteral(KALVADO_SOURCE_DIR "/tests/history/samples/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One row on one line: league|season|date|time|home|away|goals|odds.
QString Summary(const MatchRow &r) {
    const QString goals =
        r.played() ? QStringLiteral("%1:%2").arg(*r.homeGoals).arg(*r.awayGoals) : QStringLiteral("-");
    const QString odds = r.oddsFrom.isEmpty()
                             ? QStringLiteral("-")
                             : QStringLiteral("%1 %2/%3/%4").arg(r.oddsFrom, r.oddsH, r.oddsD, r.oddsA);
    return QStringList{r.league, r.season, r.date.toString(Qt::ISODate), r.time, r.home, r.away, goals, odds}
        .join(u'|');
}

QStringList Summaries(const MatchFile &file) {
    QStringList rows;
    for (const MatchRow &row : file.rows)
        rows << Summary(row);
    return rows;
}

QString LeftOut(const MatchFile &file) {
    QStringList rows;
    for (const LeftOutRow &row : file.firstLeftOut)
        rows << QStringLiteral("%1 %2").arg(row.line).arg(row.reason);
    return QStringLiteral("%1: %2").arg(file.leftOut).arg(rows.join(QStringLiteral("; ")));
}

const QByteArray kMain = "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\n";

} // namespace

class TestMatchFile final : public QObject {
    Q_OBJECT

private slots:
    void samples_data();
    void samples();
    void rules_data();
    void rules();
    void refused_data();
    void refused();
    void seasonOf_data();
    void seasonOf();
    void linesOfCommasAreNoRows();
};

void TestMatchFile::samples_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extraCode");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("played");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("leagueNames");
    QTest::newRow("main league")
        << "E0.csv"
        << "" << int(MatchFileKind::Main) << 380 << 380
        << "E0|2023/24|2023-08-11|20:00|Burnley|Man City|0:3|Avg 9.02/5.35/1.35"
        << "E0|2023/24|2024-05-19|16:00|Sheffield United|Tottenham|0:3|Avg 7.32/6.04/1.35"
        << "";
    QTest::newRow("extra league by code")
        << "SWE.csv"
        << "SWE" << int(MatchFileKind::Extra) << 1509 << 1509
        << "SWE|2012|2012-03-31|15:00|Elfsborg|Djurgarden|2:1|Avg 1.66/3.68/5"
        << "SWE|2018|2018-05-07|18:00|Sirius|Orebro|2:4|Avg 2.67/3.31/2.62"
        << "SWE=Sweden Allsvenskan";
    QTest::newRow("extra league by name")
        << "SWE.csv"
        << "" << int(MatchFileKind::Extra) << 1509 << 1509
        << "Sweden Allsvenskan|2012|2012-03-31|15:00|Elfsborg|Djurgarden|2:1|Avg 1.66/3.68/5"
        << "Sweden Allsvenskan|2018|2018-05-07|18:00|Sirius|Orebro|2:4|Avg 2.67/3.31/2.62"
        << "Sweden Allsvenskan=Sweden Allsvenskan";
    QTest::newRow("fixtures") << "fixtures.csv"
                              << "" << int(MatchFileKind::Fixtures) << 39 << 0
                              << "B1|2025/26|2025-09-23|19:30|Anderlecht|Gent|-|Avg 1.72/3.87/4.34"
                              << "T1|2025/26|2025-09-24|18:00|Kayserispor|Besiktas|-|Avg 3.67/3.72/1.87"
                              << "";
}

void TestMatchFile::samples() {
    QFETCH(QString, name);
    QFETCH(QString, extraCode);
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(int, played);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, leagueNames);
    const MatchFile file = ReadMatchFile(Sample(name), name, extraCode);
    QCOMPARE(file.error, QString());
    QCOMPARE(int(file.kind), kind);
    QCOMPARE(LeftOut(file), QStringLiteral("0: "));
    QCOMPARE(file.rows.size(), count);
    QCOMPARE(
        std::count_if(file.rows.cbegin(), file.rows.cend(), [](const MatchRow &r) { return r.played(); }),
        played);
    QCOMPARE(Summary(file.rows.front()), first);
    QCOMPARE(Summary(file.rows.back()), last);
    QStringList names;
    for (const auto &[code, title] : file.leagueNames)
        names << code + u'=' + title;
    QCOMPARE(names.join(u','), leagueNames);
}

void TestMatchFile::rules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("extraCode");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("leftOut");
    QTest::newRow("windows-1252") << kMain + "F1,10/08/19,Cr\xe9teil,\x8akoda,1,0\n"
                                  << "" << QStringList{"F1|2019/20|2019-08-10||Créteil|Škoda|1:0|-"}
                                  << "0: ";
    QTest::newRow("utf-8 with a mark, crlf")
        << "\xEF\xBB\xBF" + kMain.chopped(1) + "\r\nBG1,01/08/2023,Левски,ЦСКА,2,0\r\n"
        << "" << QStringList{"BG1|2023/24|2023-08-01||Левски|ЦСКА|2:0|-"} << "0: ";
    QTest::newRow("utf-8 cut inside a letter")
        << kMain + "BG1,01/08/2023,Левски,ЦСКА,2,0\nBG1,02/08/2023,Б\xd0"
        << "" << QStringList{"BG1|2023/24|2023-08-01||Левски|ЦСКА|2:0|-"} << "1: 3 няма име на отбор";
    QTest::newRow("quoted") << kMain +
                                   "\"E0\",\"12/08/2023\", \"Brighton, Hove\" ,\"The \"\"Saints\"\"\",1,1\n"
                                   "E0,13/08/2023,\"Two\nLines\",Luton,0,0\nE0,x,A,B,1,1\n"
                            << ""
                            << QStringList{"E0|2023/24|2023-08-12||Brighton, Hove|The \"Saints\"|1:1|-",
                                           "E0|2023/24|2023-08-13||Two\nLines|Luton|0:0|-"}
                            << "1: 5 датата не е дата";
    QTest::newRow("season of the earliest date")
        << QByteArray("Div,Date,Time,HT,AT,FTHG,FTAG\n"
                      "E0,26/07/2020,16:00,Hull,Leeds,2.0,0.00\nE0,10/08/2019,,Wigan,Hull,1,1\n")
        << ""
        << QStringList{"E0|2019/20|2020-07-26|16:00|Hull|Leeds|2:0|-",
                       "E0|2019/20|2019-08-10||Wigan|Hull|1:1|-"}
        << "0: ";
    QTest::newRow("main odds order") << kMain.chopped(1) +
                                            ",B365H,B365D,B365A,AvgH,AvgD,AvgA,BWH,BWD,BWA\n"
                                            "E0,01/09/23,A,B,1,0,2.1,3.0,3.5,2.0,3.1,3.6,9,9,9\n"
                                            "E0,02/09/23,A,B,1,0,2.1,3.0,3.5,2.0,1.00,3.6,9,9,9\n"
                                            "E0,03/09/23,A,B,1,0,x,3.0,3.5,2.0,,3.6,\"1,01\", 9 ,9\n"
                                            "E0,04/09/23,A,B,,,1.009,3,3,,,,,,\n"
                                     << ""
                                     << QStringList{"E0|2023/24|2023-09-01||A|B|1:0|Avg 2.0/3.1/3.6",
                                                    "E0|2023/24|2023-09-02||A|B|1:0|B365 2.1/3.0/3.5",
                                                    "E0|2023/24|2023-09-03||A|B|1:0|BW 1,01/9/9",
                                                    "E0|2023/24|2023-09-04||A|B|-|-"}
                                     << "0: ";
    QTest::newRow("extra closing odds first")
        << QByteArray("Country,League,Season,Date,Home,Away,HG,AG,AvgH,AvgD,AvgA,AvgCH,AvgCD,AvgCA\n"
                      "Norway,Eliteserien,2024,01/04/2024,Molde,Brann,1,2,2.0,3.0,4.0,2.1,3.1,4.1\n"
                      "Norway,Eliteserien,2024,02/04/2024,Molde,Brann,1,2,2.0,3.0,4.0,2.1,,4.1\n")
        << "NOR"
        << QStringList{"NOR|2024|2024-04-01||Molde|Brann|1:2|AvgC 2.1/3.1/4.1",
                       "NOR|2024|2024-04-02||Molde|Brann|1:2|Avg 2.0/3.0/4.0"}
        << "0: ";
    QTest::newRow("fixtures by their own date")
        << QByteArray("Div,Date,Time,HomeTeam,AwayTeam,AvgH,AvgD,AvgA\n"
                      "E0,30/06/24,15:00,A,B,2,3,4\nE0,01/07/1999,,C,D,,,\n")
        << "" << QStringList{"E0|2023/24|2024-06-30|15:00|A|B|-|Avg 2/3/4", "E0|1999/00|1999-07-01||C|D|-|-"}
        << "0: ";
    QTest::newRow("left out")
        << kMain + "E0,32/01/2024,A,B,1,1\n,,\n  , ,\n\nE0,01/02/2024,,B,1,1\nE0,01/02/2024,A,B,2.5,1\n"
                   "E0,01/02/2024,A,B,1,\nE0,01/02/2024,A,B,-1,0\nE0,01/02/2024,A,B,3,0\nE0,1/2/24,A,B,1,1\n"
                   ",01/02/2024,A,B,1,1\nE0,01/02/2024,Arsenal"
        << "" << QStringList{"E0|2023/24|2024-02-01||A|B|3:0|-", "E0|2023/24|2024-02-01||A|B|1:1|-"}
        << "7: 2 датата не е дата; 6 няма име на отбор; 7 головете не са цяло число; 8 има само единия гол; "
           "9 головете не са цяло число";
}

void TestMatchFile::rules() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, extraCode);
    QFETCH(QStringList, rows);
    QFETCH(QString, leftOut);
    const MatchFile file = ReadMatchFile(bytes, QStringLiteral("x.csv"), extraCode);
    QCOMPARE(file.error, QString());
    QCOMPARE(Summaries(file), rows);
    QCOMPARE(LeftOut(file), leftOut);
}

void TestMatchFile::refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString all =
        "Файлът „x.csv“ не е файл с мачове: липсват колоните Div, Date, HomeTeam, AwayTeam, FTHG, FTAG.";
    QTest::newRow("one goal column") << QByteArray("Div,Date,HomeTeam,AwayTeam,FTHG\nE0,01/02/2024,A,B,1\n")
                                     << "Файлът „x.csv“ не е файл с мачове: липсва колоната FTAG.";
    QTest::newRow("no league column")
        << QByteArray("Date,HT,AT,FTHG,FTAG\n") << "Файлът „x.csv“ не е файл с мачове: липсва колоната Div.";
    QTest::newRow("nearer the extra format")
        << QByteArray(" Date ,Home,Away,HG,AG,Country\n")
        << "Файлът „x.csv“ не е файл с мачове: липсват колоните League, Season.";
    QTest::newRow("empty") << QByteArray() << all;
    QTest::newRow("html") << QByteArray("<!DOCTYPE html>\n<html><body>Div,Date</body></html>\n") << all;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18) << all;
    QTest::newRow("commas only") << QByteArray(",,,,,,,,\r\n").repeated(100000) << all;
    QTest::newRow("too large") << QByteArray(kMaxMatchFileBytes + 1, ',')
                               << "Файлът „x.csv“ е по-голям от 64 MB.";
}

void TestMatchFile::refused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const MatchFile file = ReadMatchFile(bytes, QStringLiteral("x.csv"));
    QCOMPARE(file.error, error);
    QVERIFY(file.rows.isEmpty());
}

void TestMatchFile::seasonOf_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("season");
    QTest::newRow("july") << QDate(2020, 7, 1) << "2020/21";
    QTest::newRow("century") << QDate(1999, 12, 31) << "1999/00";
    QTest::newRow("no date") << QDate() << "";
}

void TestMatchFile::seasonOf() {
    QFETCH(QDate, date);
    QFETCH(QString, season);
    QCOMPARE(SeasonOf(date), season);
}

// Under a real header, 100,000 lines of commas are blank lines, not rows
// left out. (How fast files are read is the benchmark's to say.)
void TestMatchFile::linesOfCommasAreNoRows() {
    const QByteArray commas = kMain + QByteArray(",,,,,,,,,,,,,,,,,,,,\n").repeated(100000);
    const MatchFile file = ReadMatchFile(commas, QStringLiteral("x.csv"));
    QVERIFY(file.error.isEmpty() && file.rows.isEmpty() && file.leftOut == 0);
}

QTEST_GUILESS_MAIN(TestMatchFile)
#include "tst_matchfile.moc"
