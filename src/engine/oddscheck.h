#pragma once

#include <QString>

namespace kalvado {

// What leaving an odds box does with its text.
struct OddsCheck {
    bool accepted = true; // false: tell the user the range and empty the box
    QString text;         // the box's text when accepted
};

// Odds from 1,01 to 50 are accepted and brought to four characters by their
// typed length (2 -> 2,00, 1,5 -> 1,50, 1,855 -> 1,85); where that would read
// as another number (020 -> 0200, 2, -> 2,,00) the typed number is written
// with two decimals instead (20,00, 2,00). An empty box is left alone. Text
// that is not a number is refused like a value out of range.
OddsCheck CheckOdds(const QString &typed);

} // namespace kalvado
