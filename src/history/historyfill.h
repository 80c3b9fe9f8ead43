#pragma once

#include "history/matchindex.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kalvado {

// The prognosis form's options that decide what the fill may write.
struct FillOptions {
    bool sixMatch = false;     // the six-match option: the last 6 into indices 2..7
    bool headToHead = true;    // chkIzkl10 not ticked
    bool places = true;        // chkIzkCl not ticked
    bool cup = false;          // optKupa
    bool oddsAnnounced = true; // chkNokoef not ticked
};

// What the fill writes into the form for one match on date `date`. A box
// whose optional is empty is left as it is; an empty text empties it.
struct FillPlan {
    QString league;
    QString season; // of the places; empty when none was found
    QDate date;     // D: only matches dated before it count

    // Index 0 the oldest, as on the form.
    std::array<std::optional<QString>, 8> homeScored;
    std::array<std::optional<QString>, 8> homeConceded;
    std::array<std::optional<QString>, 8> guestScored;
    std::array<std::optional<QString>, 8> guestConceded;
    std::optional<QString> homeWins;   // txtD
    std::optional<QString> guestWins;  // txtG
    std::optional<QString> homePlace;  // txtClD
    std::optional<QString> guestPlace; // txtClG
    std::optional<QString> odds1;
    std::optional<QString> oddsX;
    std::optional<QString> odds2;

    int homeMatches = 0; // found in the year before D (at most 8)
    int guestMatches = 0;
    int homeH2h = 0; // wins in ten years
    int guestH2h = 0;
    int h2hMatches = 0;
    std::optional<int> homePlaceNo;
    std::optional<int> guestPlaceNo;
    bool oddsFound = false;      // the match's row has a complete triple
    bool oddsOutOfRange = false; // ... with a value outside 1,01-50

    // What could not be filled, one Bulgarian sentence each.
    QStringList notFilled;
    // "Англия – Висша лига 2024/25, мачове до 06.12.2026: резултати 8 и 8; ..."
    QString Summary(const QString &leagueName) const;
};

// The rules of "От историята" for home against away (history names) in the
// league on date d, from the matches of the index.
FillPlan PlanFill(const MatchIndex &index, const QString &home, const QString &away, const QString &league,
                  const QDate &d, const FillOptions &options);

// The boxes a plan writes, as the prognosis form (or the replay's own record)
// takes them. Each write counts as typing into the box.
class FillTarget {
public:
    virtual ~FillTarget() = default;
    enum class Box {
        HomeScored,
        HomeConceded,
        GuestScored,
        GuestConceded,
        HomeWins,
        GuestWins,
        HomePlace,
        GuestPlace,
        Odds1,
        OddsX,
        Odds2
    };
    // `index` 0..7 for the result arrays, 0 otherwise.
    virtual void setBoxText(Box box, int index, const QString &text) = 0;
};

// Writes every box the plan fills, in the form's order: home results, guest
// results, head-to-head, places, odds.
void ApplyFill(const FillPlan &plan, FillTarget &target);

// The same day `years` years before d; 29 February goes to 28 February.
QDate YearsBefore(const QDate &d, int years);

} // namespace kalvado
