#pragma once

#include "engine/prognosis.h"
#include "history/historyfill.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace kalvado {

// Why a played match of the seasons was not replayed, in the order the
// reasons are tried.
enum class ReplayLeftOut { None, FewMatches, NoOdds, OddsOutOfRange, EngineFailed };
QString ReplayLeftOutText(ReplayLeftOut reason); // Bulgarian, for the export and the window

// One played match of the seasons, as it was replayed.
struct ReplayMatch {
    MatchRow row;     // as held
    QString homeUsed; // the name typed into the form: linked, else as in the history
    QString guestUsed;
    PrognosisInputs inputs; // the form's boxes as the fill left them
    ReplayLeftOut leftOut = ReplayLeftOut::None;
    std::optional<Prognosis> prognosis; // replayed matches only
    Sign real = Sign::Draw;
    std::optional<Sign> favourite; // lowest held odds; a tie goes to "1", then "X"
    std::optional<qint64> profit;  // the formula's, in ten-thousandths of the stake
};

// Counts over the replayed matches; profits in ten-thousandths of a stake of 1.
struct ReplayTotals {
    int matches = 0; // played matches of the seasons
    int replayed = 0;
    std::array<int, 5> leftOut{}; // by ReplayLeftOut (index 0 unused)
    int formulaHits = 0;
    int favouriteHits = 0;
    int homeHits = 0;                          // always "1"
    int exactHits = 0;                         // the formula's score
    int oneOneHits = 0;                        // always 1:1
    std::array<int, 3> calls{};                // the formula's "1", "X", "2"
    std::array<int, 3> real{};                 // what happened
    std::array<std::array<int, 3>, 3> table{}; // [called][real]
    __int128 formulaProfit = 0;
    __int128 favouriteProfit = 0;
    __int128 homeProfit = 0;
};

struct ReplaySeason {
    QString season;
    ReplayTotals totals;
};

struct ReplayResult {
    QString league;
    QStringList seasons;
    ReplayTotals totals;
    QList<ReplaySeason> bySeason; // in the order the seasons started
    // Cumulative profit after each replayed match, in stakes.
    std::vector<double> formulaCurve;
    std::vector<double> favouriteCurve;
    QList<ReplayMatch> matches; // every played match of the seasons, in replay order
};

// The formula replayed on the played matches of some seasons of one league,
// in date order, each with the inputs "От историята" fills for it on its own
// date and every option at the form's default. Runs in slices, so a window
// can show progress and stop it; nothing is counted until the run is whole.
class Replay final {
public:
    // `links`: history name -> the user's name for it.
    Replay(const MatchIndex &index, QString league, QStringList seasons, QHash<QString, QString> links);

    int total() const { return int(m_order.size()); }
    int done() const { return m_next; }
    bool finished() const { return m_next >= total(); }
    // Replays up to `count` further matches; true when the run is over.
    bool Step(int count);
    // The whole run (Step until finished first).
    ReplayResult Result() const;

    // The home and guest chance multipliers of every replayed prognosis.
    static QString homeChance() { return QStringLiteral("1,845"); }
    static QString guestChance() { return QStringLiteral("1,825"); }

private:
    const MatchIndex &m_index;
    QString m_league;
    QStringList m_seasons;
    QHash<QString, QString> m_links;
    std::vector<const MatchRow *> m_order;
    QList<ReplayMatch> m_done;
    int m_next = 0;
};

// Odds text (point or comma) in ten-thousandths; nothing when it is no
// number of at least 1.
std::optional<qint64> OddsTicks(const QString &text);

// The export: a header line and one line per match, 55 fields, ";" between
// them, decimal comma, UTF-8 with a byte-order mark; written whole or not at
// all. Empty on success, else a message for the user.
QStringList ReplayCsvHeader();
QStringList ReplayCsvFields(const ReplayMatch &m);
QString ExportReplayCsv(const ReplayResult &result, const QString &path);

} // namespace kalvado
