#include "engine/prognosis.h"

#include "engine/clubs.h"
#include "engine/numbertext.h"

#include <cmath>
#include <cstdint>

namespace kalvado {

QString SignText(Sign sign) {
    switch (sign) {
    case Sign::Home:
        return QStringLiteral("1");
    case Sign::Draw:
        return QStringLiteral("X");
    case Sign::Guest:
        return QStringLiteral("2");
    }
    return {};
}

Sign SignOf(int homeGoals, int guestGoals) {
    if (homeGoals > guestGoals) return Sign::Home;
    if (homeGoals < guestGoals) return Sign::Guest;
    return Sign::Draw;
}

int GoalsForRaw(float x) {
    static constexpr float bands[] = {1.0f, 1.6f, 2.4f, 3.1f, 4.0f, 5.0f, 5.9f, 6.8f};
    int goals = 0;
    for (const float limit : bands) {
        if (x < limit) return goals;
        ++goals;
    }
    return 8;
}

std::optional<float> PlaceFactor(std::int16_t pD, std::int16_t pG) {
    struct Row {
        bool guestBehind; // compare pG > pD + margin, else pD > pG + margin
        int margin;
        float q;
    };
    static constexpr Row rows[] = {
        {true, 10, 1.24f}, {true, 8, 1.17f},  {true, 6, 1.11f},  {true, 4, 1.06f},  {true, 2, 1.02f},
        {false, 10, 0.8f}, {false, 8, 0.85f}, {false, 6, 0.91f}, {false, 4, 0.96f}, {false, 2, 0.99f},
    };
    for (const Row &row : rows) {
        const int base = row.guestBehind ? pD : pG;
        const int sum = base + row.margin;
        if (sum > INT16_MAX) return std::nullopt; // 16-bit overflow of the addition
        const int other = row.guestBehind ? pG : pD;
        if (other > sum) return row.q;
    }
    return 1.0f;
}

std::optional<float> OddsFactor(float own, float draw, float other) {
    static constexpr struct {
        double add;
        float factor;
    } rows[] = {{3.0, 1.4f}, {2.0, 1.3f}, {1.0, 1.2f}, {0.0, 1.1f}};
    for (const auto &row : rows) {
        const float sum = static_cast<float>(static_cast<double>(own) + draw + row.add);
        if (!std::isfinite(sum)) return std::nullopt;
        if (sum < other) return row.factor;
    }
    return 1.0f;
}

namespace {

float reputation(const QString &name) {
    if (TopClubs().contains(name)) return 0.2f;
    if (StrongClubs().contains(name)) return 0.1f;
    return 0.0f;
}

float injuries(Injured i) {
    switch (i) {
    case Injured::None:
        return 0.0f;
    case Injured::OneToThree:
        return 0.2f;
    case Injured::ThreeOrMore:
        return 0.4f;
    }
    return 0.0f;
}

float advantage(HomeAdvantage h) {
    switch (h) {
    case HomeAdvantage::Normal:
        return 1.06f;
    case HomeAdvantage::Large:
        return 1.12f;
    case HomeAdvantage::Small:
        return 1.01f;
    }
    return 1.06f;
}

std::optional<float> toSingle(double v) {
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) return std::nullopt;
    return f;
}

} // namespace

std::optional<Prognosis> ComputePrognosis(const PrognosisInputs &in) {
    // Inputs are read in a fixed order; the first unreadable one ends the run.
    const auto sHome = DecimalText(in.shansDom);
    if (!sHome) return std::nullopt;
    const auto sGuest = DecimalText(in.shansGost);
    if (!sGuest) return std::nullopt;
    const auto wD = IntegerText(in.homeWins);
    if (!wD) return std::nullopt;
    const auto wG = IntegerText(in.guestWins);
    if (!wG) return std::nullopt;
    const auto pD = IntegerText(in.homePlace);
    if (!pD) return std::nullopt;
    const auto pG = IntegerText(in.guestPlace);
    if (!pG) return std::nullopt;

    const float cD = in.coachHome ? 0.15f : 0.0f;
    const float cG = in.coachGuest ? 0.15f : 0.0f;
    const float tD = in.transferHome ? 0.1f : 0.0f;
    const float tG = in.transferGuest ? 0.1f : 0.0f;
    const float h = advantage(in.homeAdvantage);
    const auto q = PlaceFactor(*pD, *pG);
    if (!q) return std::nullopt;
    const float hhD = *wD > *wG ? 1.1f : 1.0f;
    const float hhG = *wG > *wD ? 1.1f : 1.0f;
    const float iD = injuries(in.injuredHome);
    const float iG = injuries(in.injuredGuest);
    const float vD = in.division == Division::HomeHigher ? 0.6f : 0.0f;
    const float vG = in.division == Division::GuestHigher ? 0.6f : 0.0f;
    const float bD = reputation(in.homeName);
    const float bG = reputation(in.guestName);

    const auto k1 = DecimalText(in.k1);
    if (!k1) return std::nullopt;
    const auto k2 = DecimalText(in.k2);
    if (!k2) return std::nullopt;
    const auto kX = DecimalText(in.kX);
    if (!kX) return std::nullopt;
    const auto oD = OddsFactor(*k1, *kX, *k2);
    if (!oD) return std::nullopt;
    const auto oG = OddsFactor(*k2, *kX, *k1);
    if (!oG) return std::nullopt;
    const float r = (*kX > *k1 && *kX > *k2) ? 1.1f : 1.0f;

    Prognosis p;
    const auto mD = FormMean(in.home, *sHome);
    if (!mD) return std::nullopt;
    p.homeForm = *mD;
    const double xD = *mD * h * *q * hhD * *oD - iD + vD + bD - cD + tD;
    const auto mG = FormMean(in.guest, *sGuest);
    if (!mG) return std::nullopt;
    p.guestForm = *mG;
    const double xG = *mG * hhG * *oG - iG + vG + bG - cG + tG;

    auto rawD = toSingle(xD);
    auto rawG = toSingle(xG);
    if (!rawD || !rawG) return std::nullopt;
    if (r > 1.0f) {
        // The bookmakers see a draw as least likely: lift the weaker side.
        if (*rawD > *rawG)
            rawG = toSingle(static_cast<double>(*rawG) * r);
        else if (*rawD < *rawG)
            rawD = toSingle(static_cast<double>(*rawD) * r);
        if (!rawD || !rawG) return std::nullopt;
    }
    p.homeRaw = *rawD;
    p.guestRaw = *rawG;
    p.homeGoals = GoalsForRaw(p.homeRaw);
    p.guestGoals = GoalsForRaw(p.guestRaw);
    p.sign = SignOf(p.homeGoals, p.guestGoals);
    return p;
}

} // namespace kalvado
