#pragma once

#include <QList>
#include <QString>

namespace kalvado {

// A league the results site publishes, with its Bulgarian name.
struct SiteLeague {
    QString code;  // "E0", "SWE"
    QString name;  // "Англия – Висша лига"
    bool extra;    // all seasons in one file under new/
};

// Main leagues first, in the site's order, then the extra leagues.
const QList<SiteLeague> &SiteLeagues();

// The Bulgarian name of a code the program knows; empty otherwise.
QString KnownLeagueName(const QString &code);

// The address of one file under the base (no trailing slash):
// mmz4281/2324/E0.csv, new/SWE.csv, fixtures.csv. `seasonStartYear` is the
// year the season starts in (2023 for 2023/24), used for main leagues.
QString MainLeagueUrl(const QString &base, const QString &code, int seasonStartYear);
QString ExtraLeagueUrl(const QString &base, const QString &code);
QString FixturesUrl(const QString &base);

constexpr const char *kDefaultHistoryBase = "https://www.football-data.co.uk";

} // namespace kalvado
