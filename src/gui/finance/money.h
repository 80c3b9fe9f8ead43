#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace kalvado {

// An amount of money with four decimal places, held as a signed 64-bit count
// of ten-thousandths. Arithmetic that would leave the range gives nothing
// rather than a wrapped value.
class Money final {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromTicks(std::int64_t ticks) { return Money(ticks); }
    // Units within the range (about 9 * 10^14).
    // Whole units; the caller keeps them within the range.
    static constexpr Money whole(std::int64_t units) { return Money(units * kScale); }

    // Text in the Bulgarian form (decimal comma, no grouping, optional sign,
    // blanks around allowed). Digits beyond the fourth decimal are rounded,
    // a half to the even neighbour. Empty, malformed or out-of-range text
    // gives nothing.
    static std::optional<Money> parse(QStringView text);

    // The shortest form: decimal comma, no grouping, no trailing zeros
    // ("12,5", "7", "-3").
    QString toText() const;

    std::optional<Money> plus(Money other) const;
    std::optional<Money> times(std::int64_t factor) const;

    constexpr std::int64_t ticks() const { return m_ticks; }
    double toDouble() const { return double(m_ticks) / kScale; }
    constexpr bool isZero() const { return m_ticks == 0; }

    friend constexpr auto operator<=>(Money, Money) = default;

private:
    constexpr explicit Money(std::int64_t ticks) : m_ticks(ticks) {}
    std::int64_t m_ticks = 0;
};

} // namespace kalvado
