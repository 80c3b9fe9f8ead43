#include "history/historyfill.h"

#include "engine/numbertext.h"
#include "engine/oddscheck.h"

#include <QHash>

#include <algorithm>

namespace kalvado {

namespace {

struct Standing {
    QString club;
    int points = 0;
    int scored = 0;
    int conceded = 0;
};

// The places in the standings from the given matches: 3 points a win, 1 a
// draw; ordered by points, goal difference, goals scored, then the name in
// code order.
QHash<QString, int> Places(const std::vector<const MatchRow *> &matches) {
    QHash<QString, int> at;
    std::vector<Standing> table;
    const auto row = [&](const QString &club) -> Standing & {
        auto it = at.constFind(club);
        if (it == at.constEnd()) {
            it = at.insert(club, int(table.size()));
            table.push_back({club});
        }
        return table[size_t(*it)];
    };
    for (const MatchRow *m : matches) {
        const int h = *m->homeGoals;
        const int a = *m->awayGoals;
        Standing &home = row(m->home);
        home.scored += h;
        home.conceded += a;
        home.points += h > a ? 3 : h == a ? 1 : 0;
        Standing &away = row(m->away);
        away.scored += a;
        away.conceded += h;
        away.points += a > h ? 3 : h == a ? 1 : 0;
    }
    std::sort(table.begin(), table.end(), [](const Standing &x, const Standing &y) {
        if (x.points != y.points) return x.points > y.points;
        const int dx = x.scored - x.conceded;
        const int dy = y.scored - y.conceded;
        if (dx != dy) return dx > dy;
        if (x.scored != y.scored) return x.scored > y.scored;
        return x.club < y.club;
    });
    QHash<QString, int> places;
    for (size_t i = 0; i < table.size(); ++i)
        places.insert(table[i].club, int(i) + 1);
    return places;
}

// The club's recent matches into the result boxes: the slots are indices
// 0..7, or 2..7 with the six-match option; the most recent match goes to the
// last box and slots without a match are emptied.
int FillResults(const MatchIndex &index, const QString &club, const QDate &d, bool sixMatch,
                std::array<std::optional<QString>, 8> &scored,
                std::array<std::optional<QString>, 8> &conceded) {
    const std::vector<const MatchRow *> year = index.ClubMatches(club, YearsBefore(d, 1), d);
    const int firstSlot = sixMatch ? 2 : 0;
    const int boxes = 8 - firstSlot;
    const int found = std::min<int>(boxes, int(year.size()));
    for (int i = firstSlot; i < 8; ++i) {
        const int fromEnd = 7 - i; // 0 = the most recent
        if (fromEnd >= found) {
            scored[size_t(i)] = QString();
            conceded[size_t(i)] = QString();
            continue;
        }
        const MatchRow *m = year[year.size() - 1 - size_t(fromEnd)];
        const bool home = m->home == club;
        scored[size_t(i)] = QString::number(home ? *m->homeGoals : *m->awayGoals);
        conceded[size_t(i)] = QString::number(home ? *m->awayGoals : *m->homeGoals);
    }
    return found;
}

QString DateText(const QDate &d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

QDate YearsBefore(const QDate &d, int years) {
    const int year = d.year() - years;
    int day = d.day();
    if (d.month() == 2 && day == 29 && !QDate::isLeapYear(year)) day = 28;
    return QDate(year, d.month(), day);
}

FillPlan PlanFill(const MatchIndex &index, const QString &home, const QString &away, const QString &league,
                  const QDate &d, const FillOptions &options) {
    FillPlan plan;
    plan.league = league;
    plan.date = d;

    plan.homeMatches = FillResults(index, home, d, options.sixMatch, plan.homeScored, plan.homeConceded);
    plan.guestMatches = FillResults(index, away, d, options.sixMatch, plan.guestScored, plan.guestConceded);
    const int wanted = options.sixMatch ? 6 : 8;
    const auto fewer = [&](const QString &club, int found) {
        if (found < wanted)
            plan.notFilled << QStringLiteral("%1: %2 в годината преди %3")
                                  .arg(club, CountText(found, QStringLiteral("мач"), QStringLiteral("мача")),
                                       DateText(d));
    };
    fewer(home, plan.homeMatches);
    fewer(away, plan.guestMatches);

    if (options.headToHead) {
        for (const MatchRow *m : index.PairMatches(home, away, YearsBefore(d, 10), d)) {
            ++plan.h2hMatches;
            const int homeSide = m->home == home ? *m->homeGoals : *m->awayGoals;
            const int awaySide = m->home == home ? *m->awayGoals : *m->homeGoals;
            if (homeSide > awaySide) ++plan.homeH2h;
            if (awaySide > homeSide) ++plan.guestH2h;
        }
        plan.homeWins = QString::number(plan.homeH2h);
        plan.guestWins = QString::number(plan.guestH2h);
    }

    if (options.places && !options.cup) {
        if (const std::optional<QString> season = index.SeasonAt(league, d)) {
            plan.season = *season;
            const QHash<QString, int> places = Places(index.SeasonMatches(league, *season, d));
            const auto place = [&](const QString &club, std::optional<QString> &box, std::optional<int> &no) {
                const auto it = places.constFind(club);
                if (it == places.constEnd()) {
                    plan.notFilled << QStringLiteral("%1: няма мач в сезон %2 преди %3 – мястото остава")
                                          .arg(club, *season, DateText(d));
                    return;
                }
                no = *it;
                box = QString::number(*it);
            };
            place(home, plan.homePlace, plan.homePlaceNo);
            place(away, plan.guestPlace, plan.guestPlaceNo);
        } else {
            plan.notFilled << QStringLiteral("няма сезон на лигата до %1 – местата остават").arg(DateText(d));
        }
    }

    if (options.oddsAnnounced) {
        const MatchRow *match = index.Find(league, d, home, away);
        if (!match) {
            plan.notFilled
                << QStringLiteral("мачът на %1 не е в историята – коефициентите остават").arg(DateText(d));
        } else if (match->oddsH.isEmpty()) {
            plan.notFilled << QStringLiteral("мачът няма коефициенти в историята – коефициентите остават");
        } else {
            plan.oddsFound = true;
            const auto odds =
                [&](const QString &stored, std::optional<QString> &box) {
                    QString typed = stored.trimmed();
                    typed.replace(u'.', u',');
                    const OddsCheck tidied = CheckOdds(typed);
                    if (!tidied.accepted) {
                        plan.oddsOutOfRange = true;
                        plan.notFilled
                            << QStringLiteral("коефициент %1 е извън 1,01–50 и не е записан").arg(typed);
                        return;
                    }
                    box = tidied.text;
                };
            odds(match->oddsH, plan.odds1);
            odds(match->oddsD, plan.oddsX);
            odds(match->oddsA, plan.odds2);
        }
    }
    return plan;
}

QString FillPlan::Summary(const QString &leagueName) const {
    QString head = leagueName;
    if (!season.isEmpty()) head += u' ' + season;
    head += QStringLiteral(", мачове до %1: ").arg(DateText(date));
    QStringList parts;
    parts << QStringLiteral("резултати %1 и %2").arg(homeMatches).arg(guestMatches);
    if (homeWins) parts << QStringLiteral("срещи %1:%2 за 10 години").arg(homeH2h).arg(guestH2h);
    if (homePlaceNo || guestPlaceNo)
        parts << QStringLiteral("места %1 и %2")
                     .arg(homePlaceNo ? QString::number(*homePlaceNo) : QStringLiteral("–"),
                          guestPlaceNo ? QString::number(*guestPlaceNo) : QStringLiteral("–"));
    if (odds1 || oddsX || odds2)
        parts << QStringLiteral("коефициенти %1 %2 %3")
                     .arg(odds1.value_or(QStringLiteral("–")), oddsX.value_or(QStringLiteral("–")),
                          odds2.value_or(QStringLiteral("–")));
    QString text = head + parts.join(QStringLiteral("; "));
    if (!notFilled.isEmpty())
        text += QStringLiteral("\nНе е попълнено: ") + notFilled.join(QStringLiteral("; "));
    return text;
}

void ApplyFill(const FillPlan &plan, FillTarget &target) {
    using Box = FillTarget::Box;
    const auto write = [&](Box box, int index, const std::optional<QString> &text) {
        if (text) target.setBoxText(box, index, *text);
    };
    for (int i = 0; i < 8; ++i) {
        write(Box::HomeScored, i, plan.homeScored[size_t(i)]);
        write(Box::HomeConceded, i, plan.homeConceded[size_t(i)]);
    }
    for (int i = 0; i < 8; ++i) {
        write(Box::GuestScored, i, plan.guestScored[size_t(i)]);
        write(Box::GuestConceded, i, plan.guestConceded[size_t(i)]);
    }
    write(Box::HomeWins, 0, plan.homeWins);
    write(Box::GuestWins, 0, plan.guestWins);
    write(Box::HomePlace, 0, plan.homePlace);
    write(Box::GuestPlace, 0, plan.guestPlace);
    write(Box::Odds1, 0, plan.odds1);
    write(Box::OddsX, 0, plan.oddsX);
    write(Box::Odds2, 0, plan.odds2);
}

} // namespace kalvado
