#include "engine/oddscheck.h"

#include "engine/numbertext.h"

namespace kalvado {

namespace {

bool InRange(float v) {
    return v >= 1.01f && v <= 50.0f;
}

// Whether the tidied text still reads as the typed number: zeros appended to
// its decimals, or decimals cut off its end, and nothing else.
bool KeepsTheNumber(const QString &typed, const QString &tidied) {
    DecimalParts was;
    DecimalParts now;
    if (!SplitDecimal(typed, was) || !SplitDecimal(tidied, now)) return false;
    if (now.negative != was.negative || now.integerDigits != was.integerDigits) return false;
    QStringView kept = now.fractionDigits;
    while (kept.endsWith(u'0'))
        kept.chop(1);
    if (!was.fractionDigits.startsWith(kept)) return false;
    const auto v = DecimalText(tidied);
    return v && InRange(*v);
}

// The typed number with two decimals ("002" -> "2,00"), further decimals cut.
QString TwoDecimals(const QString &typed) {
    DecimalParts parts;
    SplitDecimal(typed, parts);
    const QString whole =
        parts.integerDigits.isEmpty() ? QStringLiteral("0") : parts.integerDigits.toString();
    return whole + u',' + parts.fractionDigits.left(2).toString().leftJustified(2, u'0');
}

} // namespace

OddsCheck CheckOdds(const QString &typed) {
    if (typed.isEmpty()) return {true, typed};
    const auto v = DecimalText(typed);
    if (!v || !InRange(*v)) return {false, {}};
    // The length as typed decides, not the value...
    const qsizetype n = typed.size();
    QString tidied;
    if (n <= 2)
        tidied = typed + QStringLiteral(",00");
    else if (n == 3)
        tidied = typed + u'0';
    else if (n == 4)
        tidied = typed;
    else
        tidied = typed.left(4);
    // ...as long as the text still reads as the number typed: "2," must not
    // become "2,,00", nor "020" turn into 200.
    return {true, KeepsTheNumber(typed, tidied) ? tidied : TwoDecimals(typed)};
}

} // namespace kalvado
