#include "gui/prognosis_form/matchclock.h"

#include "engine/numbertext.h"

namespace kalvado {

QString NextGoalMoment(const QString &caption) {
    const int next = IntegerText(caption).value_or(0) + 1;
    return next > 55 ? QStringLiteral("0") : QString::number(next);
}

std::optional<QString> NextChance(const QString &caption, double step) {
    const auto v = DecimalText(caption);
    if (!v) return std::nullopt;
    // The single-precision value is what the engine reads, so its rounding
    // shows in the next caption.
    if (*v > 1.9f) return DoubleText(1.75);
    return DoubleText(static_cast<double>(*v) + step);
}

QString GoalLine(const QString &minute, const QString &home, const QString &guest) {
    return minute + u' ' + QStringLiteral("мин.") + QString(10, u' ') + home + u':' + guest;
}

QString HalfTimeLine(const QString &home, const QString &guest) {
    return QStringLiteral("Първо полувреме") + QString(6, u' ') + home + u':' + guest;
}

QString FinalLine(const QString &home, const QString &guest) {
    return QStringLiteral("Краен резултат") + QString(10, u' ') + home + u':' + guest;
}

} // namespace kalvado
