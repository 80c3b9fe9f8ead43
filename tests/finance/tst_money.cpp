#include "gui/finance/money.h"

#include <QTest>

#include <limits>

using kalvado::Money;

class TestMoney final : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void text_data();
    void text();
    void arithmeticStaysInRange();
};

void TestMoney::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("ticks");

    constexpr qint64 max = std::numeric_limits<qint64>::max();
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("decimal comma") << "12,5" << true << qint64(125000);
    QTest::newRow("whole") << "7" << true << qint64(70000);
    QTest::newRow("negative") << "-3" << true << qint64(-30000);
    QTest::newRow("four decimals") << "0,0001" << true << qint64(1);
    QTest::newRow("fraction only") << ",5" << true << qint64(5000);
    QTest::newRow("trailing comma") << "5," << true << qint64(50000);
    QTest::newRow("blanks around") << " 8 " << true << qint64(80000);
    QTest::newRow("fifth decimal rounds up") << "1,23456" << true << qint64(12346);
    QTest::newRow("half to even, down") << "0,00025" << true << qint64(2);
    QTest::newRow("half to even, up") << "0,00035" << true << qint64(4);
    QTest::newRow("half and more") << "0,000250001" << true << qint64(3);
    QTest::newRow("negative rounds symmetric") << "-0,00035" << true << qint64(-4);
    QTest::newRow("largest") << "922337203685477,5807" << true << max;
    QTest::newRow("smallest") << "-922337203685477,5808" << true << min;
    QTest::newRow("above largest") << "922337203685477,5808" << false << qint64(0);
    QTest::newRow("below smallest") << "-922337203685477,5809" << false << qint64(0);
    QTest::newRow("rounding past the end") << "922337203685477,58075" << false << qint64(0);
    QTest::newRow("far too long") << "99999999999999999999999999" << false << qint64(0);
    QTest::newRow("two commas") << "1,2,3" << false << qint64(0);
    QTest::newRow("sign alone") << "-" << false << qint64(0);
    QTest::newRow("comma alone") << "," << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("decimal point") << "1.5" << false << qint64(0);
    QTest::newRow("grouped") << "1 000" << false << qint64(0);
    QTest::newRow("exponent") << "1e3" << false << qint64(0);
    QTest::newRow("letters") << "abc" << false << qint64(0);
    QTest::newRow("slash") << "1/2" << false << qint64(0);
}

void TestMoney::parse() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, ticks);
    const auto amount = Money::parse(text);
    QCOMPARE(amount.has_value(), valid);
    if (valid) QCOMPARE(amount->ticks(), ticks);
}

void TestMoney::text_data() {
    QTest::addColumn<qint64>("ticks");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("whole") << qint64(70000) << "7";
    QTest::newRow("trailing zeros dropped") << qint64(125000) << "12,5";
    QTest::newRow("inner zeros kept") << qint64(10203) << "1,0203";
    QTest::newRow("leading fraction zeros") << qint64(5) << "0,0005";
    QTest::newRow("negative whole") << qint64(-30000) << "-3";
    QTest::newRow("negative fraction") << qint64(-5000) << "-0,5";
    QTest::newRow("no grouping") << qint64(12345678900000) << "1234567890";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922337203685477,5807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477,5808";
}

void TestMoney::text() {
    QFETCH(qint64, ticks);
    QFETCH(QString, text);
    QCOMPARE(Money::fromTicks(ticks).toText(), text);
    // What is written reads back as the same amount.
    QCOMPARE(Money::parse(text)->ticks(), ticks);
}

void TestMoney::arithmeticStaysInRange() {
    const Money max = Money::fromTicks(std::numeric_limits<qint64>::max());
    QVERIFY(!max.plus(Money::fromTicks(1)).has_value());
    QCOMPARE(max.plus(Money::fromTicks(-1))->ticks(), std::numeric_limits<qint64>::max() - 1);
    QVERIFY(!Money::whole(400000000000000).times(3).has_value());
    QCOMPARE(Money::parse(u"12,5")->plus(*Money::parse(u"-20"))->toText(), QStringLiteral("-7,5"));
}

QTEST_MAIN(TestMoney)
#include "tst_money.moc"
