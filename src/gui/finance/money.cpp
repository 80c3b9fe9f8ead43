#include "gui/finance/money.h"

#include "engine/numbertext.h"

#include <limits>

namespace kalvado {

namespace {

using Wide = __int128;

constexpr Wide kMax = std::numeric_limits<std::int64_t>::max();
constexpr Wide kMin = std::numeric_limits<std::int64_t>::min();

std::optional<Money> fromWide(Wide ticks) {
    if (ticks > kMax || ticks < kMin) return std::nullopt;
    return Money::fromTicks(static_cast<std::int64_t>(ticks));
}

} // namespace

std::optional<Money> Money::parse(QStringView text) {
    DecimalParts parts;
    if (!SplitDecimal(text, parts)) return std::nullopt;
    // 19 digits already exceed the range; stopping here keeps Wide from overflowing.
    if (parts.integerDigits.size() > 19) return std::nullopt;
    Wide ticks = 0;
    for (const QChar d : parts.integerDigits)
        ticks = ticks * 10 + (d.unicode() - u'0');
    const QStringView f = parts.fractionDigits;
    for (qsizetype i = 0; i < 4; ++i)
        ticks = ticks * 10 + (i < f.size() ? f[i].unicode() - u'0' : 0);
    if (f.size() > 4) {
        const QChar first = f[4];
        bool restZero = true;
        for (qsizetype k = 5; k < f.size(); ++k)
            if (f[k] != u'0') restZero = false;
        if (first > u'5' || (first == u'5' && !restZero) || (first == u'5' && restZero && ticks % 2 == 1))
            ++ticks;
    }
    return fromWide(parts.negative ? -ticks : ticks);
}

QString Money::toText() const {
    // Unsigned, so that the most negative amount has a magnitude too.
    const bool negative = m_ticks < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - static_cast<std::uint64_t>(m_ticks)
                                             : static_cast<std::uint64_t>(m_ticks);
    QString text = QString::number(magnitude / kScale);
    std::uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        text += BulgarianLocale().decimalPoint() + QString::number(fraction).rightJustified(digits, u'0');
    }
    return negative ? u'-' + text : text;
}

std::optional<Money> Money::plus(Money other) const {
    return fromWide(Wide(m_ticks) + other.m_ticks);
}

std::optional<Money> Money::times(std::int64_t factor) const {
    return fromWide(Wide(m_ticks) * factor);
}

} // namespace kalvado
