#include "gui/prognosis_form/oddscheck.h"

#include "engine/numbertext.h"

namespace kalvado {

OddsCheck CheckOdds(const QString &typed) {
    if (typed.isEmpty()) return {true, typed};
    const auto v = DecimalText(typed);
    if (!v || *v < 1.01f || *v > 50.0f) return {false, {}};
    // The length as typed decides, not the value: "2," becomes "2,,00".
    const qsizetype n = typed.size();
    if (n <= 2) return {true, typed + QStringLiteral(",00")};
    if (n == 3) return {true, typed + u'0'};
    if (n == 4) return {true, typed};
    return {true, typed.left(4)};
}

} // namespace kalvado
