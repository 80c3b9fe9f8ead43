#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/recentpanel.h"
#include "support/testenv.h"

#include <QLabel>
#include <QTest>

using namespace kalvado;

namespace {
const QColor kOrange(255, 128, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

// The texts of one row, left to right.
QStringList Row(const RecentPanel &p, int n) {
    return {p.lblMa4[n]->text(),    p.lblOne[n]->text(), p.lblRaven[n]->text(),
            p.lblDvoika[n]->text(), p.lblRD[n]->text(),  p.lblRG[n]->text()};
}

// Which odds cells of a row are green: "1", "X", "2" or "" for none.
QString GreenOf(const RecentPanel &p, int n) {
    QString s;
    if (BackgroundOf(p.lblOne[n]) == kGreen) s += u'1';
    if (BackgroundOf(p.lblRaven[n]) == kGreen) s += u'X';
    if (BackgroundOf(p.lblDvoika[n]) == kGreen) s += u'2';
    return s;
}
} // namespace

class TestRecentPanel : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;
    std::unique_ptr<RecentPanel> m_panel;

    void add(int i, const QString &hg = QStringLiteral("1"), const QString &gg = QStringLiteral("0")) {
        m_panel->AddPrognosis(QStringLiteral("Дом%1").arg(i), QStringLiteral("Гост%1").arg(i), true,
                              QStringLiteral("1,%1").arg(i), QStringLiteral("3,%1").arg(i),
                              QStringLiteral("5,%1").arg(i), hg, gg);
    }

private slots:
    void init() {
        m_env = std::make_unique<test::TestEnv>();
        m_panel = std::make_unique<RecentPanel>(m_env->ctx);
    }
    void cleanup() {
        m_panel.reset();
        m_env.reset();
    }

    void startsEmptyOrangeOnBlue() {
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(Row(*m_panel, n), QStringList(6));
            for (QLabel *cell : {m_panel->lblMa4[n], m_panel->lblOne[n], m_panel->lblRG[n]})
                QVERIFY(BackgroundOf(cell) == kOrange && TextColourOf(cell) == kBlue);
        }
        QCOMPARE(m_panel->lblDvoika[3]->objectName(), QStringLiteral("lblDvoika_3"));
    }

    void rowsStandAtTheirTwipsInTheMainWindow() {
        auto *w = m_env->windows.get<MainWindow>(WindowId::Kalv);
        for (int n = 0; n < 5; ++n)
            for (QLabel *cell : {w->panel()->lblMa4[n], w->panel()->lblRG[n]})
                QCOMPARE(cell->mapTo(w, QPoint(0, 0)).y(), Px(6600 + 360 * n));
    }

    void firstPrognosisFillsOnlyTheNewestRow() {
        m_panel->AddPrognosis(QStringLiteral("Левски"), QStringLiteral("ЦСКА"), true, QStringLiteral("1,85"),
                              QStringLiteral("3,2"), QStringLiteral("4"), QStringLiteral("2"),
                              QStringLiteral("1"));
        m_panel->Timer1Tick();
        QCOMPARE(Row(*m_panel, 4),
                 (QStringList{QStringLiteral("Левски - ЦСКА"), QStringLiteral("1,85"), QStringLiteral("3,2"),
                              QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("1")}));
        for (int n = 0; n < 4; ++n) {
            QCOMPARE(Row(*m_panel, n), QStringList(6));
            QCOMPARE(GreenOf(*m_panel, n), QString());
        }
        QCOMPARE(GreenOf(*m_panel, 4), QStringLiteral("1"));
    }

    void sixthPrognosisPushesTheFirstOut() {
        for (int i = 1; i <= 6; ++i)
            add(i);
        for (int n = 0; n < 5; ++n)
            QCOMPARE(m_panel->lblMa4[n]->text(), QStringLiteral("Дом%1 - Гост%1").arg(n + 2));
        QCOMPARE(m_panel->lblRaven[0]->text(), QStringLiteral("3,2"));
        QCOMPARE(m_panel->lblDvoika[4]->text(), QStringLiteral("5,6"));
    }

    void highlightMarksThePredictedSign_data() {
        QTest::addColumn<QString>("score"); // home:guest
        QTest::addColumn<QString>("green");
        for (const char *row : {"2:1=1", "1:1=X", "0:2=2", "0:0=X", "8:7=1"}) {
            const QStringList parts = QString::fromUtf8(row).split(u'=');
            QTest::newRow(row) << parts[0] << parts[1];
        }
    }
    void highlightMarksThePredictedSign() {
        QFETCH(QString, score);
        QFETCH(QString, green);
        add(1, score.section(u':', 0, 0), score.section(u':', 1));
        QCOMPARE(GreenOf(*m_panel, 4), QString());
        m_panel->Timer1Tick();
        QCOMPARE(GreenOf(*m_panel, 4), green);
    }

    void prognosisWithoutOddsShowsNA() {
        add(1, QStringLiteral("2"), QStringLiteral("2"));
        m_panel->AddPrognosis(QStringLiteral("Берое"), QStringLiteral("Локо"), false, QStringLiteral("9"),
                              QStringLiteral("9"), QStringLiteral("9"), QStringLiteral("0"),
                              QStringLiteral("3"));
        m_panel->Timer1Tick();
        QCOMPARE(Row(*m_panel, 4).mid(1, 3), QStringList(3, QStringLiteral("N\\A")));
        QCOMPARE(Row(*m_panel, 3).mid(1, 3),
                 (QStringList{QStringLiteral("1,1"), QStringLiteral("3,1"), QStringLiteral("5,1")}));
        QCOMPARE(GreenOf(*m_panel, 4), QStringLiteral("2"));
        QCOMPARE(GreenOf(*m_panel, 3), QStringLiteral("X"));
    }

    void newPrognosisResetsHighlightsToOrange() {
        add(1, QStringLiteral("2"), QStringLiteral("1"));
        m_panel->Timer1Tick();
        QCOMPARE(GreenOf(*m_panel, 4), QStringLiteral("1"));
        add(2, QStringLiteral("0"), QStringLiteral("2"));
        // The green stayed with the cell, not the row that moved; the add clears it.
        for (int n = 0; n < 5; ++n) {
            QCOMPARE(GreenOf(*m_panel, n), QString());
            for (QLabel *cell : {m_panel->lblOne[n], m_panel->lblRaven[n], m_panel->lblDvoika[n]})
                QCOMPARE(BackgroundOf(cell), kOrange);
        }
        m_panel->Timer1Tick();
        QCOMPARE(GreenOf(*m_panel, 3), QStringLiteral("1"));
        QCOMPARE(GreenOf(*m_panel, 4), QStringLiteral("2"));
    }

    // Hand-edited goal cells: an empty home cell skips the row; a cell that is
    // not a number keeps the value read for the row above it.
    void highlightToleratesOddGoalCells_data() {
        QTest::addColumn<QStringList>("cells"); // PD3, PG3, PD4, PG4
        QTest::addColumn<QString>("green4");
        QTest::newRow("empty home cell skips") << QStringList{"3", "1", "", "2"} << "";
        QTest::newRow("home text carries 3 from above") << QStringList{"3", "1", "x", "2"} << "1";
        QTest::newRow("guest text carries 1 from above") << QStringList{"0", "1", "1", "?"} << "X";
        QTest::newRow("both texts carry") << QStringList{"0", "4", "a", "b"} << "2";
        QTest::newRow("N\\A in the first filled row reads 0") << QStringList{"", "", "N\\A", "N\\A"} << "X";
        QTest::newRow("a fraction rounds") << QStringList{"", "", "1,6", "2"} << "X";
    }
    void highlightToleratesOddGoalCells() {
        QFETCH(QStringList, cells);
        QFETCH(QString, green4);
        const QStringList keys{QStringLiteral("PD3"), QStringLiteral("PG3"), QStringLiteral("PD4"),
                               QStringLiteral("PG4")};
        for (int i = 0; i < 4; ++i)
            m_env->settings->WriteSetting(QStringLiteral("Last"), keys[i], cells[i]);
        m_panel->LoadPanel();
        m_panel->Timer1Tick();
        QCOMPARE(GreenOf(*m_panel, 4), green4);
        for (int n = 0; n < 3; ++n)
            QCOMPARE(GreenOf(*m_panel, n), QString());
    }

    // A match of two long names shrinks to fit its cell, whichever way it
    // arrives, and a short one that follows keeps the normal size.
    void longMatchTextsFitTheirCell_data() {
        QTest::addColumn<bool>("loaded");
        QTest::newRow("added") << false;
        QTest::newRow("loaded") << true;
    }
    void longMatchTextsFitTheirCell() {
        QFETCH(bool, loaded);
        const QString home = QStringLiteral("Черноморец Бургас София");
        const QString guest = QStringLiteral("Локомотив Горна Оряховица");
        const auto fits = [this](int n) {
            QLabel *cell = m_panel->lblMa4[n];
            return cell->indent() + cell->fontMetrics().horizontalAdvance(cell->text()) <=
                   cell->contentsRect().width();
        };
        QLabel *probe = m_panel->lblMa4[4];
        QVERIFY(probe->fontMetrics().horizontalAdvance(home + QStringLiteral(" - ") + guest) >
                probe->contentsRect().width());
        if (loaded) {
            m_env->settings->WriteSetting(QStringLiteral("Last"), QStringLiteral("M3"),
                                          home + QStringLiteral(" - ") + guest);
            m_env->settings->WriteSetting(QStringLiteral("Last"), QStringLiteral("M4"),
                                          QStringLiteral("А - Б"));
            m_panel->LoadPanel();
        } else {
            m_panel->AddPrognosis(home, guest, false, {}, {}, {}, QStringLiteral("1"), QStringLiteral("0"));
            QVERIFY(fits(4));
            add(1);
        }
        QCOMPARE(m_panel->lblMa4[3]->text(), home + QStringLiteral(" - ") + guest);
        QVERIFY(fits(3));
        QCOMPARE(m_panel->lblMa4[4]->font().pointSizeF(), m_panel->font().pointSizeF());
    }

    void loadPutsEveryKeyIntoItsCell() {
        const QStringList prefixes{QStringLiteral("M"),  QStringLiteral("K1"), QStringLiteral("KX"),
                                   QStringLiteral("K2"), QStringLiteral("PD"), QStringLiteral("PG")};
        for (const QString &prefix : prefixes)
            for (int n = 0; n < 5; ++n)
                m_env->settings->WriteSetting(QStringLiteral("Last"), prefix + QString::number(n),
                                              QStringLiteral("Черно море %1%2").arg(prefix).arg(n));
        m_env->reopenSettings();
        m_panel->LoadPanel();
        for (int n = 0; n < 5; ++n) {
            const QStringList row = Row(*m_panel, n);
            for (int c = 0; c < 6; ++c)
                QCOMPARE(row[c], QStringLiteral("Черно море %1%2").arg(prefixes[c]).arg(n));
        }
    }
    void saveAndLoadRoundTrip() {
        add(1, QStringLiteral("3"), QStringLiteral("0"));
        m_panel->AddPrognosis(QStringLiteral("Ботев Пд"), QStringLiteral("Лудогорец"), false, {}, {}, {},
                              QStringLiteral("1"), QStringLiteral("1"));
        m_panel->AddPrognosis(QStringLiteral("O'Neil"), QStringLiteral("Славия = ; [x]"), true,
                              QStringLiteral("2,10"), QStringLiteral("3"), QStringLiteral("3,40"),
                              QStringLiteral("0"), QStringLiteral("2"));
        m_panel->SavePanel();
        m_env->reopenSettings();
        QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("Last"), QStringLiteral("K13")),
                 QStringLiteral("N\\A"));
        QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("Last"), QStringLiteral("M4")),
                 QStringLiteral("O'Neil - Славия = ; [x]"));
        RecentPanel again(m_env->ctx);
        again.LoadPanel();
        for (int n = 0; n < 5; ++n)
            QCOMPARE(Row(again, n), Row(*m_panel, n));
        QCOMPARE(again.lblRaven[3]->text(), QStringLiteral("N\\A"));
    }
};

QTEST_MAIN(TestRecentPanel)
#include "tst_recentpanel.moc"
