#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace kalvado {

// The completed prognoses set against the bookmakers' odds they were made
// with. A row is completed when all four goal values are whole numbers; it is
// compared when its three odds read as decimal text of at least 1 (a
// bookmaker never pays back less than the stake).
struct MarketComparison {
    int completed = 0; // completed rows, with or without odds
    int compared = 0;  // ... of which have odds
    int withoutOdds() const { return completed - compared; }

    int signHits = 0;      // the prognosis's sign was right
    int favouriteHits = 0; // the sign with the lowest odds (tie: "1", then "X")
    int homeHits = 0;      // "always 1"
    int exactHits = 0;     // the prognosis's score was right

    // A flat stake of 1 on each compared row, in ten-thousandths of a stake
    // (the odds are read exactly to four decimals).
    __int128 prognosisProfit = 0;
    __int128 favouriteProfit = 0;

    // [predicted sign][real sign], 0 = "1", 1 = "X", 2 = "2".
    std::array<std::array<int, 3>, 3> signTable{};

    // Cumulative profit after each compared row, in archive order, in stakes.
    std::vector<double> prognosisCurve;
    std::vector<double> favouriteCurve;
};

// One query over the archive, which, like every scan of it, ends before the
// first row without a home club. A file without the odds columns has every
// row without odds.
MarketComparison CompareWithMarket(const QString &connection);

// Profit as money text with two decimals (a half to the even neighbour) and
// a sign: "+12,35", "-3,00", "0,00".
QString ProfitText(__int128 ticks);

// Yield = profit / stakes in percent, one decimal, a half to the even
// neighbour; nothing without stakes.
std::optional<QString> YieldText(__int128 ticks, int stakes);

} // namespace kalvado
