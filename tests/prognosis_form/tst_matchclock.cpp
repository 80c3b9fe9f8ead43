// The match clock of the prognosis form and the chance timers the engine
// reads, driven tick by tick.
#include "gui/prognosis_form/clockbar.h"
#include "gui/prognosis_form/prognosisform.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kalvado;

namespace {

QStringList Lines(const QListWidget *list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QString Goal(int minute, int home, int guest) {
    return QStringLiteral("%1 мин.          %2:%3").arg(minute).arg(home).arg(guest);
}
QString HalfTime(int home, int guest) {
    return QStringLiteral("Първо полувреме      %1:%2").arg(home).arg(guest);
}
QString Final(int home, int guest) {
    return QStringLiteral("Краен резултат          %1:%2").arg(home).arg(guest);
}

} // namespace

// How the goal-moment counter stands before each clock tick.
enum class Counter { Natural, Never, Scripted };
Q_DECLARE_METATYPE(Counter)
using Moments = QMap<int, QString>; // minute -> counter value at that tick

class TestMatchClock final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;
    PrognosisForm *m_form = nullptr;

    void start(int home, int guest) {
        m_form->lblProD->setText(QString::number(home));
        m_form->lblProg->setText(QString::number(guest));
        m_form->lblZnak->setText(home > guest   ? QStringLiteral("1")
                                 : home < guest ? QStringLiteral("2")
                                                : "X");
        m_form->tmrProgres->start();
    }
    // Runs the clock to its end; the running score is checked on the way.
    void runToEnd(Counter counter, const Moments &moments) {
        for (int tick = 1; tick <= 200 && m_form->tmrProgres->isActive(); ++tick) {
            switch (counter) {
            case Counter::Natural: // the 14 ms counter moves 1.5 values per 21 ms tick
                m_form->tmrTempTick();
                if (tick % 2) m_form->tmrTempTick();
                break;
            case Counter::Never:
                m_form->lblTemp->setText(QStringLiteral("0"));
                break;
            case Counter::Scripted:
                m_form->lblTemp->setText(moments.value(tick, QStringLiteral("0")));
                break;
            }
            m_form->tmrProgresTick();
            QVERIFY(m_form->lblTempD->text().toInt() <= m_form->lblProD->text().toInt());
            QVERIFY(m_form->lblTempG->text().toInt() <= m_form->lblProg->text().toInt());
            if (tick < 90) {
                QVERIFY(!m_form->txtDom->isEnabled() && !m_form->txtGost->isEnabled());
                QVERIFY(m_form->lblProD->isHidden() && m_form->lblZnak->isHidden());
            }
        }
    }

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        m_form = test::HandDrivenPrognosisForm(*m_env);
    }
    void cleanup() {
        m_form = nullptr;
        m_env.reset();
    }

    void goalMomentCounterCycles() {
        QStringList seen;
        for (int i = 0; i < 57; ++i) {
            m_form->tmrTempTick();
            seen << m_form->lblTemp->text();
        }
        QCOMPARE(seen.at(0), QStringLiteral("1"));
        QCOMPARE(seen.at(54), QStringLiteral("55"));
        QCOMPARE(seen.at(55), QStringLiteral("0"));
        QCOMPARE(seen.at(56), QStringLiteral("1"));
    }

    void chanceTimers_data() {
        QTest::addColumn<bool>("home");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("home from load") << true << "0"
                                        << "0,095";
        // The caption is read back as a single-precision number.
        QTest::newRow("home second tick") << true << "0,095"
                                          << "0,189999998807907";
        QTest::newRow("home climbs") << true << "1,75"
                                     << "1,845";
        QTest::newRow("home at 1,9 still climbs") << true << "1,9"
                                                  << "1,99499997615814";
        QTest::newRow("home above 1,9 turns") << true << "1,94"
                                              << "1,75";
        QTest::newRow("guest from load") << false << "0"
                                         << "0,075";
        QTest::newRow("guest climbs") << false << "1,75"
                                      << "1,825";
        QTest::newRow("guest reaches 1,9") << false << "1,825"
                                           << "1,90000004768372";
        QTest::newRow("guest just above 1,9 turns") << false << "1,90000004768372"
                                                    << "1,75";
    }
    void chanceTimers() {
        QFETCH(bool, home);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QLabel *label = home ? m_form->lblShansDom : m_form->lblShansGost;
        label->setText(before);
        home ? m_form->tmrShansDomTick() : m_form->tmrShansGostTick();
        QCOMPARE(label->text(), after);
    }

    void chanceValuesSettleIntoTheirCycles() {
        QSet<QString> home;
        QSet<QString> guest;
        for (int tick = 0; tick < 60; ++tick) {
            m_form->tmrShansDomTick();
            m_form->tmrShansGostTick();
            if (tick >= 30) {
                home << m_form->lblShansDom->text().left(4);
                guest << m_form->lblShansGost->text().left(4);
            }
        }
        QCOMPARE(home,
                 (QSet<QString>{QStringLiteral("1,75"), QStringLiteral("1,84"), QStringLiteral("1,94")}));
        QCOMPARE(guest,
                 (QSet<QString>{QStringLiteral("1,75"), QStringLiteral("1,82"), QStringLiteral("1,90")}));
    }

    void clockEndsOnThePrediction_data() {
        QTest::addColumn<int>("home");
        QTest::addColumn<int>("guest");
        QTest::addColumn<Counter>("counter");
        QTest::addColumn<Moments>("moments");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("0:0") << 0 << 0 << Counter::Natural << Moments{}
                             << QStringList{HalfTime(0, 0), Final(0, 0)};
        QTest::newRow("3:1 without counter goals")
            << 3 << 1 << Counter::Never << Moments{}
            << QStringList{HalfTime(0, 0), Goal(89, 0, 1), Goal(89, 1, 1), Goal(90, 3, 1), Final(3, 1)};
        QTest::newRow("3:1 with goals on the counter")
            << 3 << 1 << Counter::Scripted
            << Moments{{12, QStringLiteral("24")}, {37, QStringLiteral("29")}, {60, QStringLiteral("24")}}
            << QStringList{Goal(12, 1, 0), Goal(37, 1, 1), HalfTime(1, 1),
                           Goal(60, 2, 1), Goal(89, 3, 1), Final(3, 1)};
        QTest::newRow("counter goal and catch-up in one tick")
            << 1 << 0 << Counter::Scripted << Moments{{89, QStringLiteral("24")}}
            << QStringList{HalfTime(0, 0), Goal(89, 1, 0), Goal(89, 1, 0), Final(1, 0)};
        QTest::newRow("no goals past the prediction")
            << 1 << 1 << Counter::Scripted
            << Moments{{5, QStringLiteral("24")},
                       {6, QStringLiteral("24")},
                       {7, QStringLiteral("29")},
                       {8, QStringLiteral("29")}}
            << QStringList{Goal(5, 1, 0), Goal(7, 1, 1), HalfTime(1, 1), Final(1, 1)};
    }
    void clockEndsOnThePrediction() {
        QFETCH(int, home);
        QFETCH(int, guest);
        QFETCH(Counter, counter);
        QFETCH(Moments, moments);
        QFETCH(QStringList, lines);
        start(home, guest);
        runToEnd(counter, moments);
        QCOMPARE(Lines(m_form->lstStatistika), lines);
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("90"));
        QCOMPARE(m_form->lblTempD->text(), QString::number(home));
        QCOMPARE(m_form->lblTempG->text(), QString::number(guest));
    }

    void eightAllWithTheNaturalCounter() {
        start(8, 8);
        runToEnd(Counter::Natural, {});
        const QStringList lines = Lines(m_form->lstStatistika);
        QCOMPARE(lines.last(), Final(8, 8));
        QVERIFY(lines.contains(Goal(90, 8, 8)));
        QCOMPARE(lines.filter(QStringLiteral("Първо полувреме")).size(), 1);
        // Each club meets its moment once or twice before minute 89.
        const QStringList early =
            lines.filter(QRegularExpression(QStringLiteral("^([1-9]|[1-7][0-9]|8[0-8]) мин")));
        QVERIFY2(early.size() >= 2 && early.size() <= 4, qPrintable(early.join(u'|')));
    }

    void finishedStateShowsThePrediction() {
        QVERIFY(m_form->cmdPro->isEnabled());
        start(2, 1);
        m_form->cmdPro->setEnabled(false);
        runToEnd(Counter::Never, {});
        QVERIFY(!m_form->tmrProgres->isActive());
        QVERIFY(!m_form->lblProD->isHidden() && !m_form->lblProg->isHidden() && !m_form->lblZnak->isHidden());
        QVERIFY(m_form->txtDom->isEnabled() && m_form->txtGost->isEnabled());
        QVERIFY(!m_form->cmdPro->isEnabled()); // only a new edit enables it
        // The bar has grown one unit a minute, past the container's width.
        QVERIFY(qAbs(m_form->simulBarWidth() - (15.0 * PrognosisForm::kSimulUnits / 6720.0 + 90.0)) < 1e-9);
        QCOMPARE(m_form->picSimulP->width(),
                 qRound(m_form->picSimul->width() * m_form->simulBarWidth() / PrognosisForm::kSimulUnits));
        QVERIFY(m_form->picSimulP->width() > m_form->picSimul->width());
    }

    void secondRunWithoutResetEndsAtOnce() {
        start(2, 1);
        runToEnd(Counter::Never, {});
        const QStringList before = Lines(m_form->lstStatistika);
        m_form->lblProD->hide();
        start(4, 0);
        m_form->tmrProgresTick();
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("91"));
        QVERIFY(!m_form->tmrProgres->isActive());
        QVERIFY(!m_form->lblProD->isHidden());
        QCOMPARE(Lines(m_form->lstStatistika), before);
        QCOMPARE(m_form->lblTempD->text(), QStringLiteral("2"));
    }

    void resetsBringTheClockBackToReady() {
        start(2, 2);
        runToEnd(Counter::Never, {});
        QTest::mouseClick(m_form->txtGost, Qt::LeftButton);
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lblTempD->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lblTempG->text(), QStringLiteral("0"));
        QCOMPARE(m_form->lstStatistika->count(), 0);
        QCOMPARE(m_form->simulBarWidth(), 0.01);
        QCOMPARE(m_form->picSimulP->width(), 0);
        QVERIFY(m_form->lblProD->isHidden() && m_form->lblProg->isHidden() && m_form->lblZnak->isHidden());
        QCOMPARE(m_form->lblProD->text(), QStringLiteral("0"));
    }

    void resetDoesNotStopARunningClock() {
        start(1, 0);
        for (int i = 0; i < 10; ++i)
            m_form->tmrProgresTick();
        QVERIFY(!m_form->txtGost->isEnabled());
        m_form->txtGost->setText(QStringLiteral("Рома")); // the guest change resets the display only
        QVERIFY(m_form->tmrProgres->isActive());
        QCOMPARE(m_form->lblMinuta->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestMatchClock)
#include "tst_matchclock.moc"
