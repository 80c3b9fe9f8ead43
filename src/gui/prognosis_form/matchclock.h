#pragma once

#include <QString>

#include <optional>

// Texts of the match clock: the counters it keeps as captions and the lines
// of its event list.
namespace kalvado {

// The goal-moment counter after one tick: 0, 1, ..., 55, 0, ...
QString NextGoalMoment(const QString &caption);

// A chance multiplier after one tick: its value plus the step, written with
// 15 significant digits, and back to 1,75 once it has passed 1,9. Nothing
// when the caption is not a number.
std::optional<QString> NextChance(const QString &caption, double step);

// "<minute> мин.          <home>:<guest>"
QString GoalLine(const QString &minute, const QString &home, const QString &guest);
// "Първо полувреме      <home>:<guest>"
QString HalfTimeLine(const QString &home, const QString &guest);
// "Краен резултат          <home>:<guest>"
QString FinalLine(const QString &home, const QString &guest);

} // namespace kalvado
