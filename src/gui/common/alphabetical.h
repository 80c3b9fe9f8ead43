#pragma once

#include <QStringList>

namespace kalvado {

// Names in the order a Bulgarian reader expects in a list: letters compared
// first without regard to case, then case, then character codes, so that any
// two different names have a fixed order on every run.
void SortAlphabetically(QStringList &names);
// The order of two names in that sort.
bool AlphabeticallyBefore(const QString &a, const QString &b);

// The club table sorted once for as long as it reads the same: the lists
// are refilled on every keystroke, the table changes far more rarely.
class SortedNames final {
public:
    const QStringList &of(const QStringList &names);

private:
    QStringList m_source;
    QStringList m_sorted;
    bool m_valid = false;
};

} // namespace kalvado
