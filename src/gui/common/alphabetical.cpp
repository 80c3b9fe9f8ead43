#include "gui/common/alphabetical.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace kalvado {

namespace {

QCollator &Collator() {
    // Built once: opening a collator costs more than a whole refill.
    static QCollator collator = [] {
        QCollator c{QLocale(QLocale::Bulgarian, QLocale::Bulgaria)};
        c.setCaseSensitivity(Qt::CaseSensitive); // case decides only between otherwise equal names
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

// The index of the one name that `before` has and `after` lacks, the rest in
// the same order; -1 when the two differ otherwise.
qsizetype RemovedIndex(const QStringList &before, const QStringList &after) {
    if (before.size() != after.size() + 1) return -1;
    qsizetype i = 0;
    while (i < after.size() && before.at(i) == after.at(i))
        ++i;
    return std::equal(after.cbegin() + i, after.cend(), before.cbegin() + i + 1) ? i : -1;
}

} // namespace

void SortAlphabetically(QStringList &names) {
    if (names.size() < 2) return;
    QCollator &collator = Collator();
    // One sort key per name: comparing keys is far cheaper than collating
    // the same pair of names again and again.
    struct Entry {
        QCollatorSortKey key;
        qsizetype index;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        entries.push_back({collator.sortKey(names.at(i)), i});
    std::sort(entries.begin(), entries.end(), [&names](const Entry &a, const Entry &b) {
        if (const int order = a.key.compare(b.key)) return order < 0;
        // Names the collator takes as equal (invisible characters, say) still
        // need one order.
        return names.at(a.index) < names.at(b.index);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Entry &e : entries)
        sorted << names.at(e.index);
    names = std::move(sorted);
}

bool AlphabeticallyBefore(const QString &a, const QString &b) {
    if (const int order = Collator().compare(a, b)) return order < 0;
    return a < b;
}

const QStringList &SortedNames::of(const QStringList &names) {
    if (m_valid && names == m_source) return m_sorted;
    const qsizetype had = m_source.size();
    if (m_valid && names.size() == had + 1 &&
        std::equal(m_source.cbegin(), m_source.cend(), names.cbegin())) {
        // A club added at the end of the table: one sorted insert, not a new sort.
        const QString &added = names.last();
        m_sorted.insert(std::upper_bound(m_sorted.cbegin(), m_sorted.cend(), added, AlphabeticallyBefore),
                        added);
    } else if (const qsizetype gone = RemovedIndex(m_source, names); m_valid && gone >= 0) {
        const QString &removed = m_source.at(gone);
        m_sorted.erase(std::lower_bound(m_sorted.cbegin(), m_sorted.cend(), removed, AlphabeticallyBefore));
    } else {
        m_sorted = names;
        SortAlphabetically(m_sorted);
    }
    m_source = names;
    m_valid = true;
    return m_sorted;
}

} // namespace kalvado
