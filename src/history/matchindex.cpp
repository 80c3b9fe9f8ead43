#include "history/matchindex.h"

#include <algorithm>

namespace kalvado {

namespace {

QString SeasonKey(const QString &league, const QString &season) {
    return league + u'\n' + season;
}

} // namespace

MatchIndex::MatchIndex(QList<MatchRow> rows) : m_rows(std::move(rows)) {
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const MatchRow &a, const MatchRow &b) { return a.date < b.date; });
    for (int i = 0; i < m_rows.size(); ++i) {
        const MatchRow &r = m_rows.at(i);
        m_byClub[r.home].push_back(i);
        if (r.away != r.home) m_byClub[r.away].push_back(i);
        m_bySeason[SeasonKey(r.league, r.season)].push_back(i);
        auto &starts = m_seasonStarts[r.league];
        const auto held = std::find_if(starts.begin(), starts.end(),
                                       [&](const SeasonStart &s) { return s.season == r.season; });
        // Rows come in date order, so the first row of a season is its start.
        if (held == starts.end()) starts.push_back({r.date, r.season});
    }
}

std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator>
MatchIndex::range(const std::vector<int> &rows, const QDate &from, const QDate &before) const {
    const auto first = std::lower_bound(rows.begin(), rows.end(), from,
                                        [this](int i, const QDate &d) { return m_rows.at(i).date < d; });
    const auto last = std::lower_bound(first, rows.end(), before,
                                       [this](int i, const QDate &d) { return m_rows.at(i).date < d; });
    return {first, last};
}

std::vector<const MatchRow *> MatchIndex::ClubMatches(const QString &club, const QDate &from,
                                                      const QDate &before) const {
    std::vector<const MatchRow *> found;
    const auto it = m_byClub.constFind(club);
    if (it == m_byClub.constEnd()) return found;
    const auto [first, last] = range(*it, from, before);
    for (auto i = first; i != last; ++i)
        if (m_rows.at(*i).played()) found.push_back(&m_rows.at(*i));
    return found;
}

std::vector<const MatchRow *> MatchIndex::PairMatches(const QString &a, const QString &b, const QDate &from,
                                                      const QDate &before) const {
    std::vector<const MatchRow *> found;
    for (const MatchRow *m : ClubMatches(a, from, before))
        if ((m->home == a && m->away == b) || (m->home == b && m->away == a)) found.push_back(m);
    return found;
}

std::optional<QString> MatchIndex::SeasonAt(const QString &league, const QDate &d) const {
    const auto it = m_seasonStarts.constFind(league);
    if (it == m_seasonStarts.constEnd()) return std::nullopt;
    const SeasonStart *best = nullptr;
    for (const SeasonStart &s : *it)
        if (s.start <= d && (!best || s.start > best->start)) best = &s;
    if (!best) return std::nullopt;
    return best->season;
}

std::vector<const MatchRow *> MatchIndex::SeasonMatches(const QString &league, const QString &season,
                                                        const QDate &before) const {
    std::vector<const MatchRow *> found;
    const auto it = m_bySeason.constFind(SeasonKey(league, season));
    if (it == m_bySeason.constEnd()) return found;
    const auto [first, last] = range(*it, QDate(1, 1, 1), before);
    for (auto i = first; i != last; ++i)
        if (m_rows.at(*i).played()) found.push_back(&m_rows.at(*i));
    return found;
}

const MatchRow *MatchIndex::Find(const QString &league, const QDate &date, const QString &home,
                                 const QString &away) const {
    const auto it = m_byClub.constFind(home);
    if (it == m_byClub.constEnd()) return nullptr;
    const auto [first, last] = range(*it, date, date.addDays(1));
    for (auto i = first; i != last; ++i) {
        const MatchRow &r = m_rows.at(*i);
        if (r.league == league && r.home == home && r.away == away) return &r;
    }
    return nullptr;
}

} // namespace kalvado
