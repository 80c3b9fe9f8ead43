#pragma once

#include "engine/formfactors.h"

#include <QString>

#include <optional>

namespace kalvado {

enum class HomeAdvantage { Small, Normal, Large };
enum class Injured { None, OneToThree, ThreeOrMore };
enum class Division { HomeHigher, GuestHigher, Same };

// Everything one prognosis reads from the prognosis form, as the texts and
// option states the user left there.
struct PrognosisInputs {
    QString shansDom = QStringLiteral("0"); // chance multiplier captions
    QString shansGost = QStringLiteral("0");
    QString homeWins;                         // txtD
    QString guestWins;                        // txtG
    QString homePlace = QStringLiteral("10"); // txtClD
    QString guestPlace = QStringLiteral("10");
    bool coachHome = false;
    bool coachGuest = false;
    bool transferHome = false;
    bool transferGuest = false;
    HomeAdvantage homeAdvantage = HomeAdvantage::Normal;
    Injured injuredHome = Injured::None;
    Injured injuredGuest = Injured::None;
    Division division = Division::Same;
    QString homeName;    // txtDom
    QString guestName;   // txtGost
    QString homeCaption; // lblDomakin
    QString guestCaption;
    QString k1;
    QString kX;
    QString k2;
    bool oddsAnnounced = true;
    RecentResults home;
    RecentResults guest;
};

enum class Sign { Home, Draw, Guest };
QString SignText(Sign sign); // "1", "X", "2"
Sign SignOf(int homeGoals, int guestGoals);

struct Prognosis {
    int homeGoals = 0;
    int guestGoals = 0;
    Sign sign = Sign::Draw;
    double homeForm = 0.0; // form means
    double guestForm = 0.0;
    float homeRaw = 0.0f; // raw values after the draw adjustment
    float guestRaw = 0.0f;
};

// The whole computation; nothing when any input cannot be read or a step
// overflows (the caller's one failure path).
std::optional<Prognosis> ComputePrognosis(const PrognosisInputs &in);

// Goals for a raw value by the goal bands.
int GoalsForRaw(float raw);

// Table factor for the two places; nothing on a 16-bit overflow.
std::optional<float> PlaceFactor(std::int16_t homePlace, std::int16_t guestPlace);

// Odds bonus of the side whose win odds are `own` against the opponent's win
// odds `other`; nothing on overflow.
std::optional<float> OddsFactor(float own, float draw, float other);

} // namespace kalvado
