#include "engine/numbertext.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

using namespace kalvado;

class TestNumberText final : public QObject {
    Q_OBJECT

private slots:
    void integerText_data();
    void integerText();
    void decimalText_data();
    void decimalText();
    void readingIgnoresTheSystemLocale();
    void doubleText_data();
    void doubleText();
};

void TestNumberText::integerText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "7" << true << 7;
    QTest::newRow("blanks around") << "  12 " << true << 12;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("plus sign") << "+3" << true << 3;
    QTest::newRow("negative") << "-4" << true << -4;
    QTest::newRow("two and a half to even") << "2,5" << true << 2;
    QTest::newRow("three and a half to even") << "3,5" << true << 4;
    QTest::newRow("half to zero") << "0,5" << true << 0;
    QTest::newRow("one and a half") << "1,5" << true << 2;
    QTest::newRow("negative half") << "-2,5" << true << -2;
    QTest::newRow("negative three and a half") << "-3,5" << true << -4;
    QTest::newRow("just above half") << "2,5000001" << true << 3;
    QTest::newRow("just below half") << "2,4999999" << true << 2;
    QTest::newRow("trailing comma") << "2," << true << 2;
    QTest::newRow("leading comma") << ",7" << true << 1;
    QTest::newRow("top of range") << "32767" << true << 32767;
    QTest::newRow("bottom of range") << "-32768" << true << -32768;
    QTest::newRow("rounds inside range") << "32767,4" << true << 32767;
    QTest::newRow("rounds out of range") << "32767,5" << false << 0;
    QTest::newRow("above range") << "32768" << false << 0;
    QTest::newRow("below range") << "-32769" << false << 0;
    QTest::newRow("huge digit string") << QString(400, u'9') << false << 0;
    QTest::newRow("huge with leading zeros") << QString(400, u'0') + "5" << true << 5;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("cyrillic") << "две" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("lone comma") << "," << false << 0;
    QTest::newRow("lone minus") << "-" << false << 0;
    QTest::newRow("two commas") << "1,2,3" << false << 0;
    QTest::newRow("grouped") << "1 000" << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
}

void TestNumberText::integerText() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto read = IntegerText(text);
    QCOMPARE(read.has_value(), ok);
    if (ok) QCOMPARE(int(*read), value);
}

void TestNumberText::decimalText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("value");
    QTest::newRow("comma") << "1,845" << true << 1.845f;
    QTest::newRow("whole") << "2" << true << 2.0f;
    QTest::newRow("lower odds limit") << "1,01" << true << 1.01f;
    QTest::newRow("negative") << "-0,5" << true << -0.5f;
    QTest::newRow("long fraction") << "0,190000000298023" << true << 0.190000000298023f;
    QTest::newRow("blanks") << " 3,5 " << true << 3.5f;
    QTest::newRow("trailing comma") << "2," << true << 2.0f;
    QTest::newRow("empty") << "" << false << 0.0f;
    QTest::newRow("point") << "1.5" << false << 0.0f;
    QTest::newRow("exponent") << "1e3" << false << 0.0f;
    QTest::newRow("lone comma") << "," << false << 0.0f;
    QTest::newRow("lone minus") << "-" << false << 0.0f;
    QTest::newRow("beyond single range") << QString(40, u'9') << false << 0.0f;
    QTest::newRow("largest single") << "340282346638528859811704183484516925440" << true
                                    << std::numeric_limits<float>::max();
    QTest::newRow("too small reads as zero") << "0," + QString(60, u'0') + "1" << true << 0.0f;
    QTest::newRow("too small negative") << "-0," + QString(60, u'0') + "1" << true << -0.0f;
    QTest::newRow("smallest subnormal") << "0,0000000000000000000000000000000000000000000014" << true
                                        << std::numeric_limits<float>::denorm_min();
    // Just above the midpoint between 1 and the next single: a detour through
    // double lands on the midpoint and rounds down to 1.
    QTest::newRow("nearest single, not via double")
        << "1,0000000596046447753906250000000001" << true << std::nextafter(1.0f, 2.0f);
    QTest::newRow("letters") << "x1" << false << 0.0f;
}

void TestNumberText::decimalText() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(float, value);
    const auto read = DecimalText(text);
    QCOMPARE(read.has_value(), ok);
    if (ok) // exact, sign of zero included: QCOMPARE on floats is fuzzy
        QVERIFY2(std::bit_cast<quint32>(*read) == std::bit_cast<quint32>(value),
                 qPrintable(QString::number(double(*read), 'g', 9)));
}

void TestNumberText::readingIgnoresTheSystemLocale() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto i = IntegerText(u"3,5");
    const auto d = DecimalText(u"1,5");
    const QString t = DoubleText(1.5);
    QLocale::setDefault(before);
    QVERIFY(i.has_value());
    QCOMPARE(int(*i), 4);
    QVERIFY(d.has_value());
    QCOMPARE(*d, 1.5f);
    QCOMPARE(t, QStringLiteral("1,5"));
}

void TestNumberText::doubleText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("step") << 0.095 << "0,095";
    QTest::newRow("restart value") << 1.75 << "1,75";
    QTest::newRow("single read back plus step") << double(0.095f) + 0.095 << "0,189999998807907";
    QTest::newRow("no grouping") << 12345.5 << "12345,5";
    QTest::newRow("negative") << -2.25 << "-2,25";
}

void TestNumberText::doubleText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(DoubleText(value), text);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
