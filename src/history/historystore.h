#pragma once

#include "history/matchfile.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace kalvado {

// What importing one file did, for the summary the user reads.
struct ImportSummary {
    QString fileName;
    // Non-empty: nothing of the file was stored (the reader refused it, or
    // the database refused the write: the database message).
    QString error;
    int added = 0;     // matches new to the history
    int updated = 0;   // matches held already whose goals, odds or time changed
    int notPlayed = 0; // of the file's matches, those not yet played
    int leftOut = 0;   // rows the reader could not read, and rows without a date, league or club
    QList<LeftOutRow> firstLeftOut;
};

// A league as the history holds it.
struct LeagueSummary {
    QString code;
    QString name;
    QStringList seasons; // in the order they started
    int matches = 0;     // played and not yet played
    QDate lastDate;      // of the last played match (invalid: none played)
};

// A club as the history names it, with the name this user links it to
// (empty: not linked).
struct ClubLink {
    QString name;
    QString tim;
};

// The match history in KD2.mdb (tables Matches, Leagues, ClubLinks), through
// the program's connection. Every value is a bound parameter; every write is
// one committed transaction or nothing. A read-only or locked file can be read;
// its writes give the database message and change nothing.
class HistoryStore final {
public:
    explicit HistoryStore(QString connectionName);

    // Stores one read file whole: adds new matches; a match held already
    // takes the file's goals, odds and time where the file has them (a value
    // the file lacks never erases one held). A fixtures file first removes
    // every not-yet-played match of the leagues it holds.
    ImportSummary Import(const MatchFile &file);
    // Several files in one transaction, a summary for each in order: all
    // stored, or none (each then carries the database message). Far quicker
    // than one call per file, as each commit waits for the disk.
    QList<ImportSummary> Import(const QList<MatchFile> &files);

    // The site's leagues in the site's order, then any others by code.
    QList<LeagueSummary> Leagues() const;
    // Deletes the league's matches and its name. Empty on success, else the
    // database message.
    QString DeleteLeague(const QString &code);

    // Every club of the history (home or away in any match) with its link,
    // in code order of the history name.
    QList<ClubLink> Links() const;
    // Links a history club to the user's name; an empty name removes the
    // link. Empty on success, else the database message.
    QString SetLink(const QString &name, const QString &tim);
    // The history club a user's club name stands for: a link whose Tim equals
    // the name (letter case aside, Cyrillic too), else a history club of
    // exactly that name.
    std::optional<QString> HistoryClubFor(const QString &userName) const;
    // The user's name linked to a history club, if any.
    std::optional<QString> LinkedName(const QString &historyName) const;

    // The next not-yet-played match of home against away (home at home) on
    // or after `from`.
    std::optional<MatchRow> NextMatch(const QString &home, const QString &away, const QDate &from) const;
    // The league of the club's most recent match (either venue).
    std::optional<QString> LatestLeague(const QString &club) const;
    // The league's display name (Leagues.Name, else a known name, else the code).
    QString LeagueName(const QString &code) const;

    // What the fill rules need for one match on date d: the matches of either
    // club (either venue, any league) in the ten years up to d, and the
    // matches up to d of the league's season that started last on or before d.
    QList<MatchRow> MatchesForFill(const QString &home, const QString &away, const QString &league,
                                   const QDate &d) const;
    // Every match held, in date order (for the replay).
    QList<MatchRow> AllMatches() const;

    QString connectionName() const { return m_connection; }

private:
    QString m_connection;
};

} // namespace kalvado
