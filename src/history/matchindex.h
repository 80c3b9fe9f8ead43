#pragma once

#include "history/matchfile.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace kalvado {

// Matches held in memory and indexed the ways the fill rules look them up:
// by club, by league and season. Built from what the store loads, so the
// prognosis form and the replay answer with the same rules.
class MatchIndex final {
public:
    MatchIndex() = default;
    explicit MatchIndex(QList<MatchRow> rows);

    const QList<MatchRow> &rows() const { return m_rows; }

    // Played matches of a club (either venue, any league) dated in
    // [from, before), oldest first.
    std::vector<const MatchRow *> ClubMatches(const QString &club, const QDate &from,
                                              const QDate &before) const;
    // Played matches between the two clubs (either venue) in [from, before).
    std::vector<const MatchRow *> PairMatches(const QString &a, const QString &b, const QDate &from,
                                              const QDate &before) const;
    // The latest season of the league whose earliest match is on or before d.
    std::optional<QString> SeasonAt(const QString &league, const QDate &d) const;
    // Played matches of one season of a league dated before d.
    std::vector<const MatchRow *> SeasonMatches(const QString &league, const QString &season,
                                                const QDate &before) const;
    // The held row of this very match.
    const MatchRow *Find(const QString &league, const QDate &date, const QString &home,
                         const QString &away) const;

private:
    struct SeasonStart {
        QDate start; // its earliest match, played or not
        QString season;
    };
    // The rows of `rows` (indexes in date order) dated in [from, before).
    std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator>
    range(const std::vector<int> &rows, const QDate &from, const QDate &before) const;

    QList<MatchRow> m_rows;                                  // date order
    QHash<QString, std::vector<int>> m_byClub;               // row indexes, date order
    QHash<QString, std::vector<int>> m_bySeason;             // "league\nseason" -> row indexes, date order
    QHash<QString, std::vector<SeasonStart>> m_seasonStarts; // by league
};

} // namespace kalvado
