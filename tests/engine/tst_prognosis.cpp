#include "engine/clubs.h"
#include "engine/formfactors.h"
#include "engine/prognosis.h"

#include <QTest>

using namespace kalvado;

namespace {

RecentResults allResults(const QString &scored, const QString &conceded) {
    RecentResults r;
    r.scored.fill(scored);
    r.conceded.fill(conceded);
    return r;
}

// The worked example: home won all eight 2:0, guest drew all eight 1:1.
PrognosisInputs workedExample() {
    PrognosisInputs in;
    in.shansDom = QStringLiteral("1,845");
    in.shansGost = QStringLiteral("1,825");
    in.homeWins = QStringLiteral("1");
    in.guestWins = QStringLiteral("1");
    in.homeName = QStringLiteral("Левски");
    in.guestName = QStringLiteral("Берое");
    in.k1 = QStringLiteral("2");
    in.kX = QStringLiteral("3,2");
    in.k2 = QStringLiteral("3,5");
    in.home = allResults(QStringLiteral("2"), QStringLiteral("0"));
    in.guest = allResults(QStringLiteral("1"), QStringLiteral("1"));
    return in;
}

} // namespace

class TestPrognosis final : public QObject {
    Q_OBJECT

private slots:
    void factors_data();
    void factors();
    void factorOverflow();
    void formMean();
    void formMeanSumsInMatchOrder();
    void goalBands_data();
    void goalBands();
    void placeFactor_data();
    void placeFactor();
    void oddsFactor_data();
    void oddsFactor();
    void workedExample3to1();
    void drawAdjustment();
    void drawAdjustmentLeavesEqualValues();
    void drawRule_data();
    void drawRule();
    void reputation_data();
    void reputation();
    void qualitativeFactors_data();
    void qualitativeFactors();
    void oddsNotAnnouncedAreNeutral();
    void zeroFormGivesAtMostAdditiveTerms();
    void failures_data();
    void failures();
    void anyTextNeverCrashes();
    void clubLists();
    void clubNamesAreCyrillic();
};

void TestPrognosis::factors_data() {
    QTest::addColumn<QString>("g");
    QTest::addColumn<QString>("c");
    QTest::addColumn<int>("match");
    QTest::addColumn<double>("plus");
    QTest::addColumn<double>("minus");
    QTest::newRow("won by two, match 4") << "3"
                                         << "1" << 4 << 1.9 << 0.9;
    for (int m = 1; m <= 8; ++m)
        QTest::addRow("won by one, match %d", m) << "1"
                                                 << "0" << m << (m >= 6 ? 1.6 : 1.5) << 0.9;
    QTest::newRow("goalless draw") << "0"
                                   << "0" << 1 << 1.2 << 1.0;
    QTest::newRow("lost by one") << "0"
                                 << "1" << 7 << 0.9 << 1.1;
    QTest::newRow("lost by two") << "0"
                                 << "2" << 8 << 0.9 << 1.3;
    QTest::newRow("negative goals compare") << "-1"
                                            << "-3" << 2 << 1.9 << 0.9;
    QTest::newRow("half goals round to even") << "2,5"
                                              << "1" << 3 << 1.5 << 0.9;
}

void TestPrognosis::factors() {
    QFETCH(QString, g);
    QFETCH(QString, c);
    QFETCH(int, match);
    QFETCH(double, plus);
    QFETCH(double, minus);
    RecentResults r = allResults(QStringLiteral("9"), QStringLiteral("9"));
    r.scored[match - 1] = g;
    r.conceded[match - 1] = c;
    QCOMPARE(*FactorPlus(r, match), plus);
    QCOMPARE(*FactorMinus(r, match), minus);
}

void TestPrognosis::factorOverflow() {
    RecentResults r = allResults(QStringLiteral("1"), QStringLiteral("1"));
    r.conceded[2] = QStringLiteral("32767");
    QVERIFY(!FactorPlus(r, 3));
    QVERIFY(FactorMinus(r, 3)); // only c + 1 overflows here
    r.conceded[2] = QStringLiteral("0");
    r.scored[2] = QStringLiteral("32767");
    QVERIFY(FactorPlus(r, 3));
    QVERIFY(!FactorMinus(r, 3));
    QVERIFY(!FactorPlus(r, 0));
    QVERIFY(!FactorPlus(r, 9));
}

void TestPrognosis::formMean() {
    const float s = 1.845f;
    QCOMPARE(*FormMean(allResults(QStringLiteral("2"), QStringLiteral("0")), s), 1.9 * double(s) - 0.9);
    const double lossMean = *FormMean(allResults(QStringLiteral("0"), QStringLiteral("1")), s);
    QVERIFY(qAbs(lossMean - 0.5605) < 1e-6);
    QVERIFY(*FormMean(allResults(QStringLiteral("0"), QStringLiteral("1")), 1.2f) < 0);
    // The divisor stays eight although two matches are the fixed 1:1 draws.
    RecentResults six = allResults(QStringLiteral("2"), QStringLiteral("0"));
    six.scored[0] = six.conceded[0] = six.scored[1] = six.conceded[1] = QStringLiteral("1");
    const double expected = (2 * (1.2 * double(s) - 1.0) + 6 * (1.9 * double(s) - 0.9)) / 8;
    QVERIFY(qAbs(*FormMean(six, s) - expected) < 1e-12);
}

void TestPrognosis::formMeanSumsInMatchOrder() {
    // A mix whose double sum depends on the order of the additions.
    const float chance = 1.845f;
    const double s = chance;
    const char *const results[8][2] = {{"0", "0"}, {"2", "0"}, {"2", "2"}, {"3", "0"},
                                       {"2", "3"}, {"0", "2"}, {"3", "1"}, {"3", "1"}};
    RecentResults r;
    for (int i = 0; i < 8; ++i) {
        r.scored[i] = QString::fromLatin1(results[i][0]);
        r.conceded[i] = QString::fromLatin1(results[i][1]);
    }
    const double terms[8] = {1.2 * s - 1.0, 1.9 * s - 0.9, 1.2 * s - 1.0, 1.9 * s - 0.9,
                             0.9 * s - 1.1, 0.9 * s - 1.3, 1.9 * s - 0.9, 1.9 * s - 0.9};
    double forward = 0.0;
    double backward = 0.0;
    for (int i = 0; i < 8; ++i) {
        forward += terms[i];
        backward += terms[7 - i];
    }
    QVERIFY(forward != backward); // otherwise this case proves nothing
    const auto mean = FormMean(r, chance);
    QVERIFY(mean);
    QVERIFY2(*mean == forward / 8, qPrintable(QString::number(*mean, 'g', 17)));
}

void TestPrognosis::goalBands_data() {
    QTest::addColumn<float>("raw");
    QTest::addColumn<int>("goals");
    QTest::newRow("negative") << -2.0f << 0;
    QTest::newRow("just below one") << std::nextafter(1.0f, 0.0f) << 0;
    QTest::newRow("one") << 1.0f << 1;
    QTest::newRow("just below 1.6") << std::nextafter(1.6f, 0.0f) << 1;
    QTest::newRow("1.6") << 1.6f << 2;
    QTest::newRow("2.4") << 2.4f << 3;
    QTest::newRow("just below 3.1") << std::nextafter(3.1f, 0.0f) << 3;
    QTest::newRow("3.1") << 3.1f << 4;
    QTest::newRow("3.5 is four") << 3.5f << 4;
    QTest::newRow("4") << 4.0f << 5;
    QTest::newRow("5") << 5.0f << 6;
    QTest::newRow("5.9") << 5.9f << 7;
    QTest::newRow("just below 6.8") << std::nextafter(6.8f, 0.0f) << 7;
    QTest::newRow("6.8") << 6.8f << 8;
    QTest::newRow("huge") << 1000.0f << 8;
}

void TestPrognosis::goalBands() {
    QFETCH(float, raw);
    QFETCH(int, goals);
    QCOMPARE(GoalsForRaw(raw), goals);
}

void TestPrognosis::placeFactor_data() {
    QTest::addColumn<int>("home");
    QTest::addColumn<int>("guest");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("q");
    QTest::newRow("guest 11 lower") << 10 << 21 << true << 1.24f;
    QTest::newRow("guest 10 lower") << 10 << 20 << true << 1.17f;
    QTest::newRow("guest 9 lower") << 10 << 19 << true << 1.17f;
    QTest::newRow("guest 8 lower") << 10 << 18 << true << 1.11f;
    QTest::newRow("guest 7 lower") << 10 << 17 << true << 1.11f;
    QTest::newRow("guest 6 lower") << 10 << 16 << true << 1.06f;
    QTest::newRow("guest 5 lower") << 10 << 15 << true << 1.06f;
    QTest::newRow("guest 4 lower") << 10 << 14 << true << 1.02f;
    QTest::newRow("guest 3 lower") << 10 << 13 << true << 1.02f;
    QTest::newRow("guest 2 lower") << 10 << 12 << true << 1.0f;
    QTest::newRow("equal") << 10 << 10 << true << 1.0f;
    QTest::newRow("home 2 lower") << 12 << 10 << true << 1.0f;
    QTest::newRow("home 3 lower") << 13 << 10 << true << 0.99f;
    QTest::newRow("home 5 lower") << 15 << 10 << true << 0.96f;
    QTest::newRow("home 7 lower") << 17 << 10 << true << 0.91f;
    QTest::newRow("home 9 lower") << 19 << 10 << true << 0.85f;
    QTest::newRow("home 11 lower") << 21 << 10 << true << 0.8f;
    QTest::newRow("home place overflows first row") << 32758 << 1 << false << 0.0f;
    QTest::newRow("largest home place that adds") << 32757 << 1 << true << 0.8f;
    QTest::newRow("guest sum reached only when needed") << 1 << 32767 << true << 1.24f;
    QTest::newRow("guest sum overflows when reached") << 5 << 32758 << true << 1.24f;
    QTest::newRow("both at the top") << 32767 << 32767 << false << 0.0f;
    QTest::newRow("guest overflow after home rows") << 32757 << 32758 << false << 0.0f;
}

void TestPrognosis::placeFactor() {
    QFETCH(int, home);
    QFETCH(int, guest);
    QFETCH(bool, ok);
    QFETCH(float, q);
    const auto result = PlaceFactor(std::int16_t(home), std::int16_t(guest));
    QCOMPARE(result.has_value(), ok);
    if (ok) QCOMPARE(*result, q);
}

void TestPrognosis::oddsFactor_data() {
    QTest::addColumn<float>("own");
    QTest::addColumn<float>("draw");
    QTest::addColumn<float>("other");
    QTest::addColumn<float>("factor");
    QTest::newRow("beyond three") << 1.5f << 3.0f << 7.6f << 1.4f;
    QTest::newRow("exactly three is not beyond") << 1.5f << 3.0f << 7.5f << 1.3f;
    QTest::newRow("beyond two") << 1.5f << 3.0f << 6.6f << 1.3f;
    QTest::newRow("beyond one") << 1.5f << 3.0f << 5.6f << 1.2f;
    QTest::newRow("beyond the sum") << 1.5f << 3.0f << 4.6f << 1.1f;
    QTest::newRow("equal to the sum") << 1.5f << 3.0f << 4.5f << 1.0f;
    QTest::newRow("favourite of the guests") << 3.5f << 3.2f << 2.0f << 1.0f;
    QTest::newRow("all two") << 2.0f << 2.0f << 2.0f << 1.0f;
    // 1,49 + 14,13 + 3 is 18,62 in decimals; the unrounded sum of the singles
    // falls below 18,62f, its single rounding does not.
    QTest::newRow("sum equal once rounded to single") << 1.49f << 14.13f << 18.62f << 1.3f;
}

void TestPrognosis::oddsFactor() {
    QFETCH(float, own);
    QFETCH(float, draw);
    QFETCH(float, other);
    QFETCH(float, factor);
    QCOMPARE(*OddsFactor(own, draw, other), factor);
}

void TestPrognosis::workedExample3to1() {
    const auto p = ComputePrognosis(workedExample());
    QVERIFY(p);
    QVERIFY(qAbs(p->homeForm - 2.6055) < 1e-6);
    QVERIFY(qAbs(p->homeRaw - 2.7618f) < 1e-3f);
    QVERIFY(qAbs(p->guestRaw - 1.19f) < 1e-5f);
    QCOMPARE(p->homeGoals, 3);
    QCOMPARE(p->guestGoals, 1);
    QCOMPARE(SignText(p->sign), QStringLiteral("1"));
}

void TestPrognosis::drawAdjustment() {
    PrognosisInputs in = workedExample();
    in.kX = QStringLiteral("3,6"); // draw odds above both: the weaker side is lifted
    auto p = ComputePrognosis(in);
    QVERIFY(p);
    QVERIFY(qAbs(p->guestRaw - 1.309f) < 1e-5f);
    QCOMPARE(p->guestGoals, 1);

    in.shansGost = QStringLiteral("2,1"); // guest raw 1.52: one goal, 1.672 after lifting
    p = ComputePrognosis(in);
    QVERIFY(p);
    QCOMPARE(p->guestGoals, 2);
    in.kX = QStringLiteral("3,2");
    p = ComputePrognosis(in);
    QCOMPARE(p->guestGoals, 1);
}

void TestPrognosis::drawAdjustmentLeavesEqualValues() {
    // Zero form means on both sides (1.2 * S = 1) leave only the equal transfer terms.
    PrognosisInputs in = workedExample();
    in.kX = QStringLiteral("5"); // draw least likely: the rule is active
    in.shansDom = in.shansGost = QStringLiteral("0,8333333");
    in.home = in.guest = allResults(QStringLiteral("0"), QStringLiteral("0"));
    in.transferHome = in.transferGuest = true;
    const auto p = ComputePrognosis(in);
    QVERIFY(p);
    QCOMPARE(p->homeRaw, 0.1f);
    QCOMPARE(p->guestRaw, 0.1f);
}

void TestPrognosis::drawRule_data() {
    QTest::addColumn<QString>("k1");
    QTest::addColumn<QString>("kX");
    QTest::addColumn<QString>("k2");
    QTest::addColumn<bool>("lifted");
    QTest::newRow("draw odds above both") << "2"
                                          << "3,6"
                                          << "3,5" << true;
    QTest::newRow("draw odds equal to the guest's") << "2"
                                                    << "3,5"
                                                    << "3,5" << false;
    QTest::newRow("draw odds equal to the home's") << "3,6"
                                                   << "3,6"
                                                   << "3,5" << false;
    QTest::newRow("draw odds between") << "2"
                                       << "3,4"
                                       << "3,5" << false;
    QTest::newRow("draw odds lowest") << "3"
                                      << "1,5"
                                      << "3,5" << false;
}

void TestPrognosis::drawRule() {
    QFETCH(QString, k1);
    QFETCH(QString, kX);
    QFETCH(QString, k2);
    QFETCH(bool, lifted);
    // The home side (about 2.76) stays the stronger; the guest's 1.19 is lifted or not.
    PrognosisInputs in = workedExample();
    in.k1 = k1;
    in.kX = kX;
    in.k2 = k2;
    const auto p = ComputePrognosis(in);
    QVERIFY(p);
    const float guest = float(1.2 * double(1.825f) - 1.0);
    QCOMPARE(p->guestRaw, lifted ? float(double(guest) * double(1.1f)) : guest);
}

void TestPrognosis::reputation_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("bonus");
    QTest::newRow("top club") << "Арсенал" << 0.2f;
    QTest::newRow("strong club") << "Челси" << 0.1f;
    QTest::newRow("lower case") << "челси" << 0.0f;
    QTest::newRow("trailing blank") << "Челси " << 0.0f;
    QTest::newRow("unknown") << "Левски" << 0.0f;
}

void TestPrognosis::reputation() {
    QFETCH(QString, name);
    QFETCH(float, bonus);
    // With a zero form mean the raw value is the additive terms alone.
    PrognosisInputs in = workedExample();
    in.shansDom = in.shansGost = QStringLiteral("0,8333333");
    in.home = in.guest = allResults(QStringLiteral("0"), QStringLiteral("0"));
    const auto plain = ComputePrognosis(in);
    in.homeName = name;
    in.guestName = name;
    const auto named = ComputePrognosis(in);
    QVERIFY(plain && named);
    QVERIFY(qAbs((named->homeRaw - plain->homeRaw) - bonus) < 1e-5f);
    QVERIFY(qAbs((named->guestRaw - plain->guestRaw) - bonus) < 1e-5f);
}

void TestPrognosis::qualitativeFactors_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<double>("homeDelta");
    QTest::addColumn<double>("guestDelta");
    QTest::newRow("coach home") << 0 << -0.15 << 0.0;
    QTest::newRow("coach guest") << 1 << 0.0 << -0.15;
    QTest::newRow("transfer home") << 2 << 0.1 << 0.0;
    QTest::newRow("transfer guest") << 3 << 0.0 << 0.1;
    QTest::newRow("injured home 1-3") << 4 << -0.2 << 0.0;
    QTest::newRow("injured guest 3+") << 5 << 0.0 << -0.4;
    QTest::newRow("home higher division") << 6 << 0.6 << 0.0;
    QTest::newRow("guest higher division") << 7 << 0.0 << 0.6;
}

void TestPrognosis::qualitativeFactors() {
    QFETCH(int, which);
    QFETCH(double, homeDelta);
    QFETCH(double, guestDelta);
    PrognosisInputs in = workedExample();
    const auto base = ComputePrognosis(in);
    switch (which) {
    case 0:
        in.coachHome = true;
        break;
    case 1:
        in.coachGuest = true;
        break;
    case 2:
        in.transferHome = true;
        break;
    case 3:
        in.transferGuest = true;
        break;
    case 4:
        in.injuredHome = Injured::OneToThree;
        break;
    case 5:
        in.injuredGuest = Injured::ThreeOrMore;
        break;
    case 6:
        in.division = Division::HomeHigher;
        break;
    case 7:
        in.division = Division::GuestHigher;
        break;
    }
    const auto changed = ComputePrognosis(in);
    QVERIFY(base && changed);
    QVERIFY(qAbs((changed->homeRaw - base->homeRaw) - homeDelta) < 1e-5);
    QVERIFY(qAbs((changed->guestRaw - base->guestRaw) - guestDelta) < 1e-5);
}

void TestPrognosis::oddsNotAnnouncedAreNeutral() {
    PrognosisInputs in = workedExample();
    in.k1 = in.kX = in.k2 = QStringLiteral("2");
    const auto p = ComputePrognosis(in);
    QVERIFY(p);
    QVERIFY(qAbs(p->homeRaw - float(2.6055 * 1.06)) < 1e-5f); // O = 1, R = 1
    QVERIFY(qAbs(p->guestRaw - 1.19f) < 1e-5f);
    // Head-to-head excluded: 1 and 1 are neutral too; 2 to 1 lifts the home side by ten per cent.
    in.homeWins = QStringLiteral("2");
    const auto lifted = ComputePrognosis(in);
    QVERIFY(qAbs(lifted->homeRaw - float(2.6055 * 1.06 * 1.1f)) < 1e-4f);
}

void TestPrognosis::zeroFormGivesAtMostAdditiveTerms() {
    PrognosisInputs in = workedExample();
    in.shansDom = QStringLiteral("0,8333333");
    in.home = allResults(QStringLiteral("0"), QStringLiteral("0"));
    in.homeName = QStringLiteral("Арсенал");
    in.division = Division::HomeHigher;
    in.transferHome = true;
    const auto p = ComputePrognosis(in);
    QVERIFY(p);
    QVERIFY(p->homeRaw < 1.0f);
    QCOMPARE(p->homeGoals, 0);
}

void TestPrognosis::failures_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty head-to-head") << 0 << "";
    QTest::newRow("letters in head-to-head") << 0 << "abc";
    QTest::newRow("empty odds") << 1 << "";
    QTest::newRow("odds with a point") << 1 << "1.5";
    QTest::newRow("empty result box") << 2 << "";
    QTest::newRow("conceded 32767") << 3 << "32767";
    QTest::newRow("result out of range") << 2 << "40000";
    QTest::newRow("home place overflow") << 4 << "32758";
    QTest::newRow("empty chance caption") << 5 << "";
    QTest::newRow("odds sum overflows single") << 6 << "340000000000000000000000000000000000000";
}

void TestPrognosis::failures() {
    QFETCH(int, field);
    QFETCH(QString, text);
    PrognosisInputs in = workedExample();
    switch (field) {
    case 0:
        in.homeWins = text;
        break;
    case 1:
        in.kX = text;
        break;
    case 2:
        in.guest.scored[7] = text;
        break;
    case 3:
        in.home.conceded[4] = text;
        break;
    case 4:
        in.homePlace = text;
        break;
    case 5:
        in.shansGost = text;
        break;
    case 6:
        in.k1 = in.kX = text;
        break;
    }
    QVERIFY(!ComputePrognosis(in));
}

void TestPrognosis::anyTextNeverCrashes() {
    const QStringList texts{"",  " ", "a", "2,5",   "3,5",   "32767", "-32769",    "1e3", QString(5000, u'7'),
                            ",", "-", "+", "1,2,3", "\t5\t", "٣",     "0,0000001", "-0"};
    for (const QString &t : texts) {
        PrognosisInputs in = workedExample();
        in.homeWins = in.guestWins = in.homePlace = in.guestPlace = t;
        in.k1 = in.kX = in.k2 = t;
        in.shansDom = in.shansGost = t;
        in.home = in.guest = allResults(t, t);
        const auto p = ComputePrognosis(in);
        if (p) {
            QVERIFY(p->homeGoals >= 0 && p->homeGoals <= 8);
            QVERIFY(p->guestGoals >= 0 && p->guestGoals <= 8);
        }
    }
}

void TestPrognosis::clubLists() {
    QCOMPARE(TopClubs().size(), 10);
    QCOMPARE(StrongClubs().size(), 20);
    for (const QString &name : TopClubs())
        QVERIFY(!StrongClubs().contains(name));
    QCOMPARE(ClubColours().size(), 30);
    const auto juve = FindClubColour(QStringLiteral("Ювентус"));
    QVERIFY(juve);
    QCOMPARE(juve->background, 0xFFFFFFu);
    QCOMPARE(juve->text, 0x000000u);
    QVERIFY(!FindClubColour(QStringLiteral("ювентус")));
}

void TestPrognosis::clubNamesAreCyrillic() {
    // A Latin look-alike (M for М) would never match what the user types.
    QStringList names = TopClubs() + StrongClubs();
    for (const ClubColour &c : ClubColours())
        names << c.name;
    for (const QString &name : names)
        for (const QChar ch : name)
            QVERIFY2(ch.script() == QChar::Script_Cyrillic || ch.isDigit() || ch == u' ', qPrintable(name));
}

QTEST_APPLESS_MAIN(TestPrognosis)
#include "tst_prognosis.moc"
