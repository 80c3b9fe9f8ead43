#include "engine/formfactors.h"

#include "engine/numbertext.h"

#include <cstdint>

namespace kalvado {

namespace {

struct Score {
    std::int16_t g;
    std::int16_t c;
};

std::optional<Score> readScore(const RecentResults &results, int match) {
    if (match < 1 || match > 8) return std::nullopt;
    const auto g = IntegerText(results.scored[match - 1]);
    if (!g) return std::nullopt;
    const auto c = IntegerText(results.conceded[match - 1]);
    if (!c) return std::nullopt;
    return Score{*g, *c};
}

// A 16-bit addition of one; nothing on overflow.
std::optional<int> plusOne(std::int16_t v) {
    if (v == INT16_MAX) return std::nullopt;
    return v + 1;
}

} // namespace

std::optional<double> FactorPlus(const RecentResults &results, int match) {
    const auto s = readScore(results, match);
    if (!s) return std::nullopt;
    const auto c1 = plusOne(s->c);
    if (!c1) return std::nullopt;
    if (s->g > *c1) return 1.9;
    if (s->g > s->c) return match >= 6 ? 1.6 : 1.5;
    if (s->g == s->c) return 1.2;
    return 0.9;
}

std::optional<double> FactorMinus(const RecentResults &results, int match) {
    const auto s = readScore(results, match);
    if (!s) return std::nullopt;
    const auto g1 = plusOne(s->g);
    if (!g1) return std::nullopt;
    if (s->c > *g1) return 1.3;
    if (s->c > s->g) return 1.1;
    if (s->g == s->c) return 1.0;
    return 0.9;
}

std::optional<double> FormMean(const RecentResults &results, float chance) {
    const double s = chance;
    double sum = 0.0;
    for (int match = 1; match <= 8; ++match) {
        const auto plus = FactorPlus(results, match);
        if (!plus) return std::nullopt;
        const auto minus = FactorMinus(results, match);
        if (!minus) return std::nullopt;
        sum += *plus * s - *minus;
    }
    return sum / 8;
}

} // namespace kalvado
