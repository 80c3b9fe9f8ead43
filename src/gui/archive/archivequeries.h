#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kalvado {

class RecordSet;

// Whole-archive reads of the KD table, each one SQL query, so that their cost
// stays low at any archive size (reading every row through the cursor costs
// far more per row than the database itself). Like every scan of the
// archive they end before the first row whose end column is empty.

// SQL condition: rows before the first one whose column is empty; with no
// such row, all.
QString BeforeFirstEmpty(const QString &column);

// A stored goal count: digits, blanks around them allowed. Anything else the
// result boxes let through (a sign, a comma, a fraction) is no score at all.
std::optional<int> Goals(const QString &text);

struct HitCounts {
    int completed = 0; // rows with both real goals entered
    int signs = 0;     // ... whose predicted sign was right
    int exact = 0;     // ... whose predicted score was right
};

// Counts the completed prognoses and their hits. Goal values that are not
// whole numbers count as completed, never as hits.
HitCounts CountHits(const QString &connection);

// The search lines of every row whose home (or guest) club contains the text,
// compared as stored (lower case): home "-" guest " " proD ":" proG
// "    Реален резултат " resD ":" resG.
QStringList FindPrognoses(const QString &connection, const QString &lowerCaseText, bool byGuest);

// Leaves the cursor past its last row, where every scan of the archive ends.
void MovePastEnd(RecordSet &cursor);

} // namespace kalvado
