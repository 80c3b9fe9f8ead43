#include "gui/archive/archivewindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/common/twips.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kalvado;
using kalvado::test::TestEnv;
using kalvado::test::TypeText;

// proD, proG, resD, resG of one archive row ("" is empty); a leading "!"
// on proD leaves the home club empty.
using Score = QStringList;

class TestStatisticsWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void counts_data();
    void counts();
    void percentages_data();
    void percentages();
    void emptyArchive();
    void countsWhatWasJustTyped();
    void okClosesAndRecounts();

private:
    void insert(const QList<Score> &rows);
    StatisticsWindow *window() { return m_env->windows.get<StatisticsWindow>(WindowId::Stat); }

    std::unique_ptr<TestEnv> m_env;
    int m_nom = 0;
};

namespace {
QString Sql(const QString &v) {
    return v.isEmpty() ? QStringLiteral("NULL") : u'\'' + v + u'\'';
}
} // namespace

void TestStatisticsWindow::init() {
    m_env = std::make_unique<TestEnv>();
    m_env->clearTable(QStringLiteral("KD"));
    m_nom = 0;
}

void TestStatisticsWindow::cleanup() {
    m_env.reset();
}

void TestStatisticsWindow::insert(const QList<Score> &rows) {
    for (Score s : rows) {
        const bool noHome = s[0].startsWith(u'!');
        if (noHome) s[0].remove(0, 1);
        m_env->exec(QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) "
                                   "VALUES (%1, %2, 'гост', %3, %4, %5, %6)")
                        .arg(m_nom++)
                        .arg(noHome ? QStringLiteral("NULL") : QStringLiteral("'домакин'"))
                        .arg(Sql(s[0]), Sql(s[1]), Sql(s[2]), Sql(s[3])));
    }
}

void TestStatisticsWindow::counts_data() {
    QTest::addColumn<QList<Score>>("rows");
    QTest::addColumn<QString>("completed");
    QTest::addColumn<QString>("signs");
    QTest::addColumn<QString>("exact");
    const auto row = [](const char *name, const QList<Score> &rows, const char *completed, const char *signs,
                        const char *exact) {
        QTest::newRow(name) << rows << QString(completed) << QString(signs) << QString(exact);
    };
    row("home win, other score", {{"2", "1", "3", "0"}}, "1", "1", "0");
    row("both draws", {{"1", "1", "0", "0"}}, "1", "1", "0");
    row("exact draw", {{"2", "2", "2", "2"}}, "1", "1", "1");
    row("guest win, exact", {{"0", "3", "0", "3"}}, "1", "1", "1");
    row("wrong sign", {{"1", "0", "0", "1"}}, "1", "0", "0");
    row("draw against a win", {{"1", "1", "2", "1"}}, "1", "0", "0");
    row("goals of two digits", {{"1", "0", "10", "9"}, {"0", "1", "9", "10"}}, "2", "2", "0");
    row("only home goals entered", {{"1", "0", "1", ""}}, "0", "0", "0");
    row("only guest goals entered", {{"1", "0", "", "0"}}, "0", "0", "0");
    row("goals that are no whole number", {{"1", "0", "2,5", "1"}, {"1", "0", "-", "0"}}, "2", "0", "0");
    row("signed goals are no goal count", {{"1", "0", "+1", "0"}, {"0", "1", "-1", "0"}}, "2", "0", "0");
    row("blanks around the digits", {{"1", "0", " 1", "0 "}}, "1", "1", "1");
    row("stops at the first row without a home club",
        {{"1", "0", "1", "0"}, {"!1", "0", "1", "0"}, {"1", "0", "1", "0"}}, "1", "1", "1");
}

void TestStatisticsWindow::counts() {
    QFETCH(QList<Score>, rows);
    QFETCH(QString, completed);
    QFETCH(QString, signs);
    QFETCH(QString, exact);
    insert(rows);
    StatisticsWindow *w = window();
    QCOMPARE(w->lblProg->text(), completed);
    QCOMPARE(w->lblPoz->text(), signs);
    QCOMPARE(w->lblPozTr->text(), exact);
    // The count leaves the archive past its last row.
    auto *archive = m_env->windows.ifLoaded<ArchiveWindow>(WindowId::Data);
    QVERIFY(archive);
    QVERIFY(!archive->archiveCursor()->hasCurrent());
    QVERIFY(archive->lblDom->text().isEmpty());
}

void TestStatisticsWindow::percentages_data() {
    QTest::addColumn<int>("exactHits");
    QTest::addColumn<int>("signHits"); // right sign, other score
    QTest::addColumn<int>("misses");
    QTest::addColumn<QString>("signPercent");
    QTest::addColumn<QString>("exactPercent");
    const auto row = [](const char *name, int exact, int sign, int misses, const char *signP,
                        const char *exactP) {
        QTest::newRow(name) << exact << sign << misses << QString(signP) << QString(exactP);
    };
    row("3 of 8, 1 of 8", 1, 2, 5, "38", "12");
    row("2 of 3", 2, 0, 1, "67", "67");
    row("5 of 5", 5, 0, 0, "100", "100");
    row("a half goes to the even neighbour", 0, 1, 39, "2", "0");
    row("a half goes up to the even neighbour", 7, 0, 1, "88", "88");
    row("none right", 0, 0, 4, "0", "0");
}

void TestStatisticsWindow::percentages() {
    QFETCH(int, exactHits);
    QFETCH(int, signHits);
    QFETCH(int, misses);
    QFETCH(QString, signPercent);
    QFETCH(QString, exactPercent);
    insert(QList<Score>(exactHits, {"1", "0", "1", "0"}));
    insert(QList<Score>(signHits, {"2", "1", "3", "0"}));
    insert(QList<Score>(misses, {"1", "0", "0", "1"}));
    StatisticsWindow *w = window();
    QCOMPARE(w->lblPP->text(), QStringLiteral("0"));
    QCOMPARE(w->Timer1->interval(), 50);
    QVERIFY(w->Timer1->isActive());
    w->Timer1Tick();
    for (QLabel *l : {w->lblPP, w->lblProc, w->lblProcD})
        QCOMPARE(l->text(), signPercent);
    for (QLabel *l : {w->lblPTR, w->lblProcTR, w->lblProcDTR})
        QCOMPARE(l->text(), exactPercent);
    QCOMPARE(w->picProc->width(), Px(signPercent.toInt() * 22));
    QCOMPARE(w->picProcTR->width(), Px(exactPercent.toInt() * 22));
    // A full bar covers its background.
    if (signPercent == QStringLiteral("100")) QCOMPARE(w->picProc->width(), w->Picture1->width());
    // The display settles on the first tick.
    w->Timer1Tick();
    QCOMPARE(w->lblPP->text(), signPercent);
}

void TestStatisticsWindow::emptyArchive() {
    StatisticsWindow *w = window();
    QCOMPARE(w->objectName(), QStringLiteral("frmStat"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Статистика-само за въведени реални резултати"));
    w->Timer1Tick();
    for (QLabel *l : {w->lblProg, w->lblPoz, w->lblPozTr, w->lblPP, w->lblPTR, w->lblProc, w->lblProcD,
                      w->lblProcTR, w->lblProcDTR})
        QCOMPARE(l->text(), QStringLiteral("0"));
    QCOMPARE(w->picProc->width(), 0);
    QCOMPARE(w->picProcTR->width(), 0);
    QVERIFY(m_env->messages.shown().isEmpty());
}

void TestStatisticsWindow::countsWhatWasJustTyped() {
    insert({{"1", "0", "", ""}});
    auto *archive = m_env->windows.get<ArchiveWindow>(WindowId::Data);
    TypeText(archive->txtresDom, QStringLiteral("1"));
    TypeText(archive->txtresG, QStringLiteral("0"));
    archive->cmdStat->click();
    auto *w = m_env->windows.ifLoaded<StatisticsWindow>(WindowId::Stat);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->lblPozTr->text(), QStringLiteral("1"));
}

void TestStatisticsWindow::okClosesAndRecounts() {
    insert({{"1", "0", "1", "0"}});
    QPointer<StatisticsWindow> w = window();
    w->show();
    QCOMPARE(w->lblProg->text(), QStringLiteral("1"));
    QCOMPARE(w->cmdOK->text(), QStringLiteral("OK"));
    insert({{"1", "0", "2", "0"}});
    w->cmdOK->click();
    QTRY_VERIFY(w.isNull());
    QVERIFY(!m_env->windows.isLoaded(WindowId::Stat));
    QCOMPARE(window()->lblProg->text(), QStringLiteral("2"));
}

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statisticswindow.moc"
