#pragma once

#include <QString>

#include <array>
#include <optional>

namespace kalvado {

enum class Club { Home, Guest };

// The eight past results of one club as the user typed them; index 0 is
// match 1, the oldest.
struct RecentResults {
    std::array<QString, 8> scored;
    std::array<QString, 8> conceded;
};

// Reward for match 1..8 of a club: grows with the margin of a win. Reads the
// scored box, then the conceded box. Fails on unreadable text and when the
// conceded count is 32767 (c + 1 overflows 16 bits).
std::optional<double> FactorPlus(const RecentResults &results, int match);

// Penalty for match 1..8: grows with the margin of a defeat. Fails on
// unreadable text and when the scored count is 32767.
std::optional<double> FactorMinus(const RecentResults &results, int match);

// Mean over the eight matches of FactorPlus * chance - FactorMinus, summed in
// match order and always divided by eight.
std::optional<double> FormMean(const RecentResults &results, float chance);

} // namespace kalvado
