// The order of the alphabetical club lists.
#include "gui/common/alphabetical.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace kalvado;

class TestAlphabetical final : public QObject {
    Q_OBJECT

private slots:
    void order_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("letters before case") << QStringList{"ПСВ Айндховен", "Парма", "Пари СЖ"}
                                             << QStringList{"Пари СЖ", "Парма", "ПСВ Айндховен"};
        QTest::newRow("small first letter in its place")
            << QStringList{"Ювентус", "ювентус", "Ямбол", "арда", "Берое"}
            << QStringList{"арда", "Берое", "ювентус", "Ювентус", "Ямбол"};
        QTest::newRow("only case differs, small first")
            << QStringList{"ЦСКА", "Цска", "цска"} << QStringList{"цска", "Цска", "ЦСКА"};
        QTest::newRow("whole alphabet")
            << QStringList{"Я", "Ю", "Ь", "Ъ", "Щ", "Ш", "Й", "И", "Ж", "Е", "Б", "А"}
            << QStringList{"А", "Б", "Е", "Ж", "И", "Й", "Ш", "Щ", "Ъ", "Ь", "Ю", "Я"};
        QTest::newRow("digits, then Cyrillic, then Latin")
            << QStringList{"Zenit", "ajax", "Арда", "1860 Мюнхен", "Ajax", "05 Берое"}
            << QStringList{"05 Берое", "1860 Мюнхен", "Арда", "ajax", "Ajax", "Zenit"};
        QTest::newRow("punctuation and blanks before letters")
            << QStringList{"Левски2", "Левски-2", "Левски 2", "\"Левски\"", "-Левски"}
            << QStringList{"-Левски", "\"Левски\"", "Левски 2", "Левски-2", "Левски2"};
        QTest::newRow("a shorter name first")
            << QStringList{"Левски София", "Левски"} << QStringList{"Левски", "Левски София"};
        QTest::newRow("invisible character: still one order")
            << QStringList{QStringLiteral("Лев\u200Bски"), QStringLiteral("Левски")}
            << QStringList{QStringLiteral("Левски"), QStringLiteral("Лев\u200Bски")};
        QTest::newRow("duplicates kept")
            << QStringList{"Берое", "Арда", "Берое"} << QStringList{"Арда", "Берое", "Берое"};
        QTest::newRow("empty") << QStringList{} << QStringList{};
    }
    void order() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        SortAlphabetically(names);
        QCOMPARE(names, sorted);
    }

    // Random names, many differing only in case or in invisible characters:
    // whatever order they come in, they leave in one and the same order.
    void totalOrderOnRandomNames() {
        QRandomGenerator random(20240614);
        const QString letters =
            QStringLiteral("абвгдежзийклмнопрстуфхцчшщъьюяАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ ");
        QStringList names;
        for (int i = 0; i < 10000; ++i) {
            QString name;
            const int length = 1 + int(random.bounded(8));
            for (int j = 0; j < length; ++j)
                name += letters.at(random.bounded(letters.size()));
            if (i % 7 == 0) name.insert(int(random.bounded(name.size() + 1)), QChar(0x200B));
            names << name;
            if (i % 5 == 0) names << name.toUpper();
        }
        QStringList first = names;
        SortAlphabetically(first);
        QCOMPARE(first.size(), names.size());
        for (int round = 0; round < 3; ++round) {
            QStringList shuffled = names;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            SortAlphabetically(shuffled);
            QCOMPARE(shuffled, first);
        }
        // Letters decide before case: folded to small letters (and without the
        // ignorable character), the names stand in plain alphabet order, which
        // for these letters and the blank is their code order.
        const auto folded = [](const QString &s) { return s.toLower().remove(QChar(0x200B)); };
        for (qsizetype i = 1; i < first.size(); ++i)
            QVERIFY2(folded(first.at(i - 1)) <= folded(first.at(i)),
                     qPrintable(first.at(i - 1) + QStringLiteral(" / ") + first.at(i)));
    }

    // The cached order follows every change of the table: a club added at the
    // end, one deleted anywhere, a rename, a table read afresh.
    void sortedNamesFollowTheTable_data() {
        QTest::addColumn<QList<QStringList>>("tables");
        QTest::newRow("added at the end") << QList<QStringList>{{"Берое", "Арда"}, {"Берое", "Арда", "арда"}};
        QTest::newRow("deleted") << QList<QStringList>{{"Берое", "Арда", "Ямбол"}, {"Берое", "Ямбол"}};
        QTest::newRow("one of two alike deleted")
            << QList<QStringList>{{"Арда", "Берое", "Арда"}, {"Берое", "Арда"}, {"Берое"}};
        QTest::newRow("renamed") << QList<QStringList>{{"Берое", "Арда"}, {"Берое", "Ямбол"}};
        QTest::newRow("added then emptied")
            << QList<QStringList>{{}, {"Щ"}, {"Щ", "а"}, {"Щ", "а", "Б"}, {"а", "Б"}, {"Б"}, {}};
    }
    void sortedNamesFollowTheTable() {
        QFETCH(QList<QStringList>, tables);
        SortedNames sorted;
        for (const QStringList &table : tables) {
            QStringList expected = table;
            SortAlphabetically(expected);
            QCOMPARE(sorted.of(table), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestAlphabetical)
#include "tst_alphabetical.moc"
