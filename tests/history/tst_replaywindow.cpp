// "Проверка на формулата": the seasons it replays, what it shows of a whole
// run, a stopped run, the export and that the run writes nothing.
#include "gui/history/replaywindow.h"
#include "support/testenv.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace kalvado;

namespace {

QByteArray Contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestReplayWindow final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void seasons_data();
    void seasons();
    void wholeRunShown();
    void stopShowsNothingHalfCounted();
    void exportFile_data();
    void exportFile();

private:
    ReplayWindow *window() { return m_env->windows.get<ReplayWindow>(WindowId::Proverka); }
    void runToEnd(const QString &league, const QString &from, const QString &to);

    std::unique_ptr<test::TestEnv> m_env;
};

// Three seasons of six clubs, ten weekly rounds each: in the first season
// nobody has 8 matches in the year before a match until round 8. In the
// second one match has no odds and one odds out of range; the fourth is not
// played yet. T2 holds one match.
void TestReplayWindow::init() {
    m_env = std::make_unique<test::TestEnv>();
    QStringList values;
    int serial = 0;
    for (int season = 0; season < 3; ++season) {
        const QDate start = QDate(2021, 8, 7).addDays(364 * season);
        for (int round = 0; round < 10; ++round)
            for (int i = 0; i < 3; ++i) {
                const auto at = [&](int k) { return k == 0 ? 5 : (k - 1 + round % 5) % 5; };
                const bool swap = round >= 5;
                const int a = at(i), b = at(5 - i);
                ++serial;
                QString odds = QStringLiteral("'%1.%2', '3.40', '%3.10'")
                                   .arg(1 + serial % 3)
                                   .arg(serial % 9 * 10 + 5)
                                   .arg(2 + serial % 4);
                if (season == 1 && round == 3 && i == 0) odds = QStringLiteral("NULL, NULL, NULL");
                if (season == 1 && round == 4 && i == 1) odds = QStringLiteral("'1.50', '4.00', '60'");
                values << QStringLiteral(
                              "('T1', '%1/%2', '%3', '15:00', 'Клуб %4', 'Клуб %5', %6, %7, %8, 'Avg')")
                              .arg(2021 + season)
                              .arg(22 + season)
                              .arg(start.addDays(7 * round).toString(Qt::ISODate))
                              .arg(swap ? b : a)
                              .arg(swap ? a : b)
                              .arg(serial * 7 % 4)
                              .arg(serial * 5 % 3)
                              .arg(odds);
            }
    }
    values << QStringLiteral(
        "('T1', '2024/25', '2024-08-10', '', 'Клуб 0', 'Клуб 1', NULL, NULL, NULL, NULL, "
        "NULL, NULL)");
    values << QStringLiteral(
        "('T2', '2024', '2024-04-01', '', 'А', 'Б', 1, 1, '2.00', '3.00', '4.00', 'Avg')");
    m_env->exec(QStringLiteral("INSERT INTO Matches (League, Season, Date, Time, Home, Away, HomeGoals, "
                               "AwayGoals, OddsH, OddsD, OddsA, OddsFrom) VALUES ") +
                values.join(u','));
    m_env->exec(QStringLiteral("INSERT INTO Leagues (Code, Name) VALUES ('T1', 'Тестова лига')"));
}

void TestReplayWindow::cleanup() {
    m_env.reset();
}

void TestReplayWindow::runToEnd(const QString &league, const QString &from, const QString &to) {
    QVERIFY(window()->Run(league, from, to));
    QVERIFY(window()->isRunning());
    QTRY_VERIFY(!window()->isRunning());
    QVERIFY(window()->result());
}

void TestReplayWindow::seasons_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("lines"); // season: matches, replayed
    QTest::newRow("first") << "2021/22"
                           << "2021/22" << QStringList{"2021/22 30 6"};
    QTest::newRow("either order") << "2022/23"
                                  << "2021/22" << QStringList{"2021/22 30 6", "2022/23 30 28"};
    QTest::newRow("season not played yet") << "2023/24"
                                           << "2024/25" << QStringList{"2023/24 30 30"};
}

void TestReplayWindow::seasons() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, lines);
    ReplayWindow *w = window();
    // Every season held is offered, all of them by default.
    QCOMPARE(w->cmbLiga->currentText(), QStringLiteral("Тестова лига (T1)"));
    QCOMPARE(w->cmbOt->currentText(), QStringLiteral("2021/22"));
    QCOMPARE(w->cmbDo->currentText(), QStringLiteral("2024/25"));
    runToEnd(QStringLiteral("T1"), from, to);
    QStringList shown;
    for (int r = 0; r < w->grdSezoni->rowCount(); ++r)
        shown << QStringList{w->grdSezoni->item(r, 0)->text(), w->grdSezoni->item(r, 1)->text(),
                             w->grdSezoni->item(r, 2)->text()}
                     .join(u' ');
    QCOMPARE(shown, lines);
}

void TestReplayWindow::wholeRunShown() {
    ReplayWindow *w = window();
    QCOMPARE(w->objectName(), QStringLiteral("frmProverka"));
    QVERIFY(w->width() <= 1100 && w->height() <= 620);
    runToEnd(QStringLiteral("T1"), QStringLiteral("2021/22"), QStringLiteral("2022/23"));
    // Matches, replayed, left out and why: counts and whole percentages of the 60.
    const QStringList counts{"60", "34", "26", "24", "1", "1", "0"};
    const QStringList percents{"100 %", "57 %", "43 %", "40 %", "2 %", "2 %", "0 %"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(w->lblMachove[i]->text(), counts[i]);
        QCOMPARE(w->lblMachovePct[i]->text(), percents[i]);
    }
    // Calls against real signs cover every replayed match once.
    int all = 0;
    for (const auto &row : w->lblSigns)
        for (const QLabel *cell : row)
            all += cell->text().toInt();
    QCOMPARE(all, 34);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w->lblStakes[i]->text(), QStringLiteral("34"));
        QVERIFY(QRegularExpression("^[+-]?\\d+,\\d\\d$").match(w->lblProfit[i]->text()).hasMatch());
        QVERIFY(QRegularExpression("^[+-]?\\d+,\\d %$").match(w->lblYield[i]->text()).hasMatch());
    }
    const auto series = w->chtProfit->chart()->series();
    QCOMPARE(series.size(), 2);
    QCOMPARE(static_cast<QLineSeries *>(series[0])->count(), 35);
    QVERIFY(w->cmdEksport->isEnabled());
    if (qEnvironmentVariableIsSet("KALVADO_GRAB")) w->grab().save(qEnvironmentVariable("KALVADO_GRAB"));
}

void TestReplayWindow::stopShowsNothingHalfCounted() {
    ReplayWindow *w = window();
    runToEnd(QStringLiteral("T1"), QStringLiteral("2021/22"), QStringLiteral("2023/24"));
    w->setSliceSize(5);
    QVERIFY(w->Run(QStringLiteral("T1"), QStringLiteral("2021/22"), QStringLiteral("2023/24")));
    // A new run clears the last one's result at once.
    QVERIFY(!w->result());
    QCOMPARE(w->lblMachove[0]->text(), QString());
    w->runSlice();
    QCOMPARE(w->prgHod->value(), 5);
    QVERIFY(w->cmdSpri->isEnabled() && !w->cmdPusni->isEnabled() && !w->cmdEksport->isEnabled());
    QTest::mouseClick(w->cmdSpri, Qt::LeftButton);
    QVERIFY(!w->isRunning());
    QTest::qWait(50);
    QVERIFY(!w->result());
    for (const QLabel *l : w->findChildren<QLabel *>(
             QRegularExpression("^lbl(Machove|Hits|Calls|Real|Signs|Stakes|Profit|Yield)")))
        QCOMPARE(l->text(), QString());
    QCOMPARE(w->grdSezoni->rowCount(), 0);
    QVERIFY(!w->chtProfit->isVisibleTo(w));
    QVERIFY(w->cmdPusni->isEnabled() && !w->cmdSpri->isEnabled() && !w->cmdEksport->isEnabled());
}

void TestReplayWindow::exportFile_data() {
    QTest::addColumn<QString>("league");
    QTest::addColumn<QString>("season");
    QTest::addColumn<QString>("written");
    QTest::newRow("many") << "T1"
                          << "2021/22"
                          << "Записани са 30 мача във файла:";
    QTest::newRow("one") << "T2"
                         << "2024"
                         << "Записан е 1 мач във файла:";
}

void TestReplayWindow::exportFile() {
    QFETCH(QString, league);
    QFETCH(QString, season);
    QFETCH(QString, written);
    const auto count = [this](const char *table) {
        QSqlQuery q(QSqlDatabase::database(m_env->ctx.connectionName));
        return q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && q.next() ? q.value(0).toInt()
                                                                                        : -1;
    };
    const QList<int> tables{count("KD"), count("Tims"), count("ClubLinks"), count("Matches")};
    m_env->settings->sync();
    const QByteArray settings = Contents(m_env->settingsPath());

    ReplayWindow *w = window();
    runToEnd(league, season, season);
    QCOMPARE(Contents(m_env->settingsPath()), settings);
    const int rows = int(w->result()->matches.size());
    const QString path = m_env->dir.filePath(QStringLiteral("out/проверка.csv"));
    w->setExportPathChooser([&] { return path; });
    // No folder: the file cannot be made, and nothing says it was.
    QTest::mouseClick(w->cmdEksport, Qt::LeftButton);
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(m_env->messages.shown()[0].icon, MessageBoxes::Icon::Exclamation);
    QVERIFY(!QFile::exists(path));

    QVERIFY(QDir(m_env->dir.path()).mkdir(QStringLiteral("out")));
    m_env->messages.clearShown();
    QTest::mouseClick(w->cmdEksport, Qt::LeftButton);
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(m_env->messages.shown()[0].text, written + u'\n' + QDir::toNativeSeparators(path));
    const QByteArray bytes = Contents(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count('\n'), rows + 1);

    // Replacing is asked; "No" leaves the file as it was.
    QFile(path).resize(3);
    m_env->messages.clearShown();
    m_env->messages.queueAnswer(MessageBoxes::Answer::No);
    QTest::mouseClick(w->cmdEksport, Qt::LeftButton);
    QCOMPARE(m_env->messages.shown().size(), 1);
    QCOMPARE(m_env->messages.shown()[0].icon, MessageBoxes::Icon::Question);
    QCOMPARE(QFileInfo(path).size(), 3);

    // Nothing written but the export's folder in the settings.
    QCOMPARE((QList<int>{count("KD"), count("Tims"), count("ClubLinks"), count("Matches")}), tables);
    QCOMPARE(m_env->settings->ReadSetting(QStringLiteral("files"), QStringLiteral("dir")),
             QFileInfo(path).absolutePath());
}

QTEST_MAIN(TestReplayWindow)
#include "tst_replaywindow.moc"
