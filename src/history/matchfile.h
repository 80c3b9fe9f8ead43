#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kalvado {

// The three kinds of file the results site publishes.
enum class MatchFileKind {
    Main,     // one season of one main league: Div, Date, HomeTeam, AwayTeam, FTHG, FTAG
    Extra,    // every season of one extra league: Country, League, Season, Date, Home, Away, HG, AG
    Fixtures, // coming matches of the main leagues: main-league columns without goals
};

// One match as read from a file, ready to be stored.
struct MatchRow {
    QString league; // code: Div, the extra league's code, or "Country League"
    QString season; // "2023/24", "2012/2013", "2023"
    QDate date;
    QString time; // as in the file; empty when the file has none
    QString home; // trimmed
    QString away;
    std::optional<int> homeGoals; // both set, or both empty for a match not yet played
    std::optional<int> awayGoals;
    // The first complete triple in the format's order, as text exactly as in
    // the file; all empty when no triple is complete.
    QString oddsH;
    QString oddsD;
    QString oddsA;
    QString oddsFrom; // the column prefix of the triple, e.g. "Avg", "B365C"

    bool played() const { return homeGoals.has_value(); }
};

// A row that could not be read, by its line number in the file (1 = header).
struct LeftOutRow {
    int line = 0;
    QString reason; // Bulgarian, e.g. "датата не е дата"
};

struct MatchFile {
    QString fileName; // as given, for messages
    MatchFileKind kind = MatchFileKind::Main;
    // Non-empty: the file is refused as a whole (Bulgarian, naming the file
    // and, for a file of none of the three formats, the columns it lacks).
    QString error;
    QList<MatchRow> rows;
    int leftOut = 0;
    QList<LeftOutRow> firstLeftOut; // the first five
    // League code -> the file's own name for it ("Sweden Allsvenskan"), for
    // extra leagues, whose files carry Country and League.
    QList<QPair<QString, QString>> leagueNames;
};

// Reads one file of the site from its bytes. `extraCode`, when given, is the
// league code of an extra-league file (the code it was downloaded under);
// without it an extra league is coded "Country League". Never throws, never
// hangs: junk is refused or counted.
MatchFile ReadMatchFile(const QByteArray &bytes, const QString &fileName, const QString &extraCode = {});

// The July-to-June season of a date, written "2023/24".
QString SeasonOf(const QDate &date);

// Files above this size are refused before reading.
constexpr qint64 kMaxMatchFileBytes = 64LL * 1024 * 1024;

} // namespace kalvado
