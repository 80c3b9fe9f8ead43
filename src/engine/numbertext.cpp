#include "engine/numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kalvado {

const QLocale &BulgarianLocale() {
    static const QLocale locale = [] {
        QLocale l(QLocale::Bulgarian, QLocale::Bulgaria);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x00A0);
}
} // namespace

bool SplitDecimal(QStringView text, DecimalParts &parts) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end) return false;
    parts = DecimalParts{};
    qsizetype i = begin;
    if (text[i] == u'-' || text[i] == u'+') {
        parts.negative = text[i] == u'-';
        ++i;
    }
    const qsizetype intStart = i;
    while (i < end && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    const qsizetype intEnd = i;
    qsizetype fracStart = i;
    qsizetype fracEnd = i;
    if (i < end && text[i] == u',') {
        fracStart = ++i;
        while (i < end && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        fracEnd = i;
    }
    if (i != end || (intEnd == intStart && fracEnd == fracStart)) return false;
    qsizetype firstSignificant = intStart;
    while (firstSignificant < intEnd && text[firstSignificant] == u'0')
        ++firstSignificant;
    parts.integerDigits = text.sliced(firstSignificant, intEnd - firstSignificant);
    parts.fractionDigits = text.sliced(fracStart, fracEnd - fracStart);
    return true;
}

std::optional<std::int16_t> IntegerText(QStringView text) {
    DecimalParts parts;
    if (!SplitDecimal(text, parts)) return std::nullopt;
    if (parts.integerDigits.size() > 5) return std::nullopt;
    long magnitude = 0;
    for (const QChar d : parts.integerDigits)
        magnitude = magnitude * 10 + (d.unicode() - u'0');
    // Round the fraction: above a half up, below down, exactly a half to even.
    const QStringView f = parts.fractionDigits;
    if (!f.isEmpty()) {
        const QChar first = f[0];
        bool restZero = true;
        for (qsizetype k = 1; k < f.size(); ++k)
            if (f[k] != u'0') restZero = false;
        if (first > u'5' || (first == u'5' && !restZero))
            ++magnitude;
        else if (first == u'5' && restZero && (magnitude % 2) == 1)
            ++magnitude;
    }
    const long value = parts.negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::optional<float> DecimalText(QStringView text) {
    DecimalParts parts;
    if (!SplitDecimal(text, parts)) return std::nullopt;
    std::string plain;
    plain.reserve(parts.integerDigits.size() + parts.fractionDigits.size() + 3);
    plain += '0';
    for (const QChar d : parts.integerDigits)
        plain += static_cast<char>(d.unicode());
    if (!parts.fractionDigits.isEmpty()) {
        plain += '.';
        for (const QChar d : parts.fractionDigits)
            plain += static_cast<char>(d.unicode());
    }
    float value = 0.0f;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ptr != plain.data() + plain.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range && parts.integerDigits.isEmpty())
        value = 0.0f; // below the smallest single: the nearest value is zero, not a failure
    else if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return parts.negative ? -value : value;
}

QString DoubleText(double value) {
    if (value == 0.0) return QStringLiteral("0");
    return BulgarianLocale().toString(value, 'g', 15);
}

QString CountText(qint64 n, const QString &one, const QString &many) {
    return QString::number(n) + u' ' + (n == 1 || n == -1 ? one : many);
}

} // namespace kalvado
