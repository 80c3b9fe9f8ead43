#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace kalvado {

// Every number the user sees or types is read and written in the Bulgarian
// locale (decimal comma), whatever the system's own locale is.
const QLocale &BulgarianLocale();

// A box's text read as a 16-bit signed integer: blanks around it are allowed,
// a fraction is rounded to the nearest whole number (a half to the even
// neighbour). Empty, non-numeric or out-of-range text gives nothing.
std::optional<std::int16_t> IntegerText(QStringView text);

// A box's text read as the nearest single-precision number (decimal comma).
// Empty, non-numeric or overflowing text gives nothing; a value too small for
// single precision reads as zero.
std::optional<float> DecimalText(QStringView text);

// A double written with the decimal comma and up to 15 significant digits.
QString DoubleText(double value);

// The plain decimal form accepted by the readers above: optional blanks, an
// optional sign, digits with at most one decimal comma, optional blanks.
// No exponent, no grouping. Returns false for anything else.
struct DecimalParts {
    bool negative = false;
    QStringView integerDigits;  // without leading zeros, may be empty
    QStringView fractionDigits; // as typed, may be empty
};
bool SplitDecimal(QStringView text, DecimalParts &parts);

// A count with its noun in the Bulgarian form for that number:
// CountText(1, "мач", "мача") is "1 мач", CountText(2, ...) "2 мача".
QString CountText(qint64 n, const QString &one, const QString &many);

} // namespace kalvado
